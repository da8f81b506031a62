// A device that was asleep when the call came: for a while after the first
// packet reaches it over the line, it leaves echo requests unanswered, as a
// real one does while it finishes waking up. Everything else works at once.
#pragma once
#include <chrono>
#include <string>

namespace demo {

// Stops the kernel of this network namespace from answering echo requests,
// and starts a thread that lets it answer again `delay` after `interface`
// received its first packet. False with `problem` filled when the setting
// cannot be changed.
bool AnswerEchoOnlyAfter(const std::string& interface, std::chrono::milliseconds delay, std::string& problem);

}  // namespace demo
