#pragma once

namespace tidex {

class ConsoleWindow;

// Fills the account, password, single-number and location fields from the settings file,
// decoded; a missing or undecodable value leaves its field empty.
void LoadConsoleFields(ConsoleWindow& console);

// Saves the account, password and single number, encoded; with the location too when asked.
void SaveConsoleFields(ConsoleWindow& console, bool withLocation);

}  // namespace tidex
