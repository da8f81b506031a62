#include "framework/script_window_system.h"

namespace corvane::script {

namespace user {
Act Press(int controlId) { return Act{Act::Kind::Press, controlId}; }
Act Type(int controlId, std::string text) { return Act{Act::Kind::Type, controlId, std::move(text)}; }
Act Enter() { return Act{Act::Kind::Enter}; }
Act Escape() { return Act{Act::Kind::Escape}; }
Act CloseBox() { return Act{Act::Kind::CloseBox}; }
Act HelpKey() { return Act{Act::Kind::HelpKey}; }
Act Paint(bool iconic, RECT client) {
  Act act{Act::Kind::Paint};
  act.iconic = iconic;
  act.client = client;
  return act;
}
Act Check(std::function<void(const ScriptedDialog&)> check) {
  Act act{Act::Kind::Check};
  act.check = std::move(check);
  return act;
}
}  // namespace user

UserScript& UserScript::InDialog(int templateId, std::vector<Act> acts) {
  scenes_.push_back(Scene{false, templateId, std::move(acts), 0});
  return *this;
}

UserScript& UserScript::AnswerBox(int answer) {
  scenes_.push_back(Scene{true, 0, {}, answer});
  return *this;
}

UserScript::Scene* UserScript::Next() { return next_ < scenes_.size() ? &scenes_[next_++] : nullptr; }

std::string UserScript::Pending() const {
  std::string pending;
  for (std::size_t i = next_; i < scenes_.size(); ++i) {
    pending += scenes_[i].isBox ? " box" : " dialog " + std::to_string(scenes_[i].templateId);
  }
  return pending;
}

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace corvane::script
