#pragma once

#include <chrono>

#include "platform/remote_delivery.h"

namespace tidex {

// Sends the message as one mail through the target's SMTP server (libcurl), within the limit.
// Blocks: runs on a worker thread.
DeliveryOutcome SendMail(const DeliveryTarget& target, const DeliveryMessage& message,
                         std::chrono::milliseconds limit);
// Loads libcurl and sets it up, once, on the main thread before the first worker uses it; when it
// is not installed, or the program was built without its header, every mail fails and says so.
void PrepareMailSending();

}  // namespace tidex
