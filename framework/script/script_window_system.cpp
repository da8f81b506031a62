#include "framework/script_window_system.h"

namespace corvane::script {
namespace {
std::string BoxType(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return "MB_OK";
    case MB_OKCANCEL: return "MB_OKCANCEL";
    case MB_YESNO: return "MB_YESNO";
    default: return "type " + std::to_string(type);
  }
}
}  // namespace

ScriptWindowSystem::ScriptWindowSystem(UserScript& script, Transcript& transcript)
    : script_(script), transcript_(transcript), previous_(ui::CurrentWindowSystem()) {
  ui::SetCurrentWindowSystem(this);
}

ScriptWindowSystem::~ScriptWindowSystem() { ui::SetCurrentWindowSystem(previous_); }

int ScriptWindowSystem::SystemMetric(int index) const {
  switch (index) {
    case SM_CXSCREEN: return ScreenSize().width;
    case SM_CYSCREEN: return ScreenSize().height;
    case SM_CXICON:
    case SM_CYICON: return 32;
    default: return 0;
  }
}

std::unique_ptr<ui::NativeDialog> ScriptWindowSystem::CreateDialogWindow(
    const res::DialogTemplate& dialog, const res::ResourceModule&, ui::DialogHost& host) {
  return std::make_unique<ScriptedDialog>(*this, dialog, host);
}

void ScriptWindowSystem::RunModal(ui::NativeDialog& native, const std::function<bool()>& ended) {
  auto& dialog = static_cast<ScriptedDialog&>(native);
  const std::string name = std::to_string(dialog.TemplateId());
  UserScript::Scene* scene = script_.Next();
  if (!scene || scene->isBox || scene->templateId != dialog.TemplateId()) {
    throw ScriptError("dialog " + name + " appeared; the script expected" +
                      (scene ? (scene->isBox ? std::string(" a message box")
                                             : " dialog " + std::to_string(scene->templateId))
                             : std::string(" nothing more")));
  }
  std::vector<Act> acts = scene->acts;  // a nested dialog may add scenes behind ours
  for (const Act& act : acts) {
    if (ended()) throw ScriptError("dialog " + name + " ended before the script's acts ran out");
    dialog.Perform(act);
  }
  if (!ended()) throw ScriptError("dialog " + name + " is still open after the script's last act");
  // The result is logged by the framework's caller through DoModal's return.
}

int ScriptWindowSystem::ShowMessageBox(ui::NativeDialog* owner, const std::string& text,
                                       const std::string& caption, UINT type) {
  UserScript::Scene* scene = script_.Next();
  std::string ownerName = owner ? std::to_string(static_cast<ScriptedDialog*>(owner)->TemplateId()) : "none";
  std::string line = "box owner=" + ownerName + " " + Quote(caption) + " " + Quote(text) + " " + BoxType(type);
  if (!scene || !scene->isBox) {
    transcript_.Add(line);
    throw ScriptError("a message box appeared (" + line + "); the script expected" +
                      (scene ? " dialog " + std::to_string(scene->templateId) : std::string(" nothing more")));
  }
  transcript_.Add(line + " -> " + std::to_string(scene->answer));
  return scene->answer;
}

}  // namespace corvane::script
