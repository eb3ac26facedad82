#pragma once

namespace tidex {

class Form1;

// Fills the account, password, single-number and location fields from the settings file,
// decoded; a missing or undecodable value leaves its field empty.
void LoadConsoleFields(Form1& console);

// Saves the account, password and single number, encoded; with the location too when asked.
void SaveConsoleFields(Form1& console, bool withLocation);

}  // namespace tidex
