#include "framework/resources.h"

namespace corvane::res {
namespace {
const ResourceModule* currentModule = nullptr;

template <class Item>
const Item* FindById(const std::vector<Item>& items, int id) {
  for (const Item& item : items) {
    if (item.id == id) return &item;
  }
  return nullptr;
}
}  // namespace

const ControlTemplate* DialogTemplate::FindControl(int controlId) const {
  if (controlId == IDC_STATIC) return nullptr;  // many controls share it
  return FindById(controls, controlId);
}

const DialogTemplate* ResourceModule::FindDialog(int templateId) const {
  return FindById(dialogs, templateId);
}

const std::string* ResourceModule::FindString(UINT stringId) const {
  for (const StringEntry& entry : strings) {
    if (entry.id == stringId) return &entry.text;
  }
  return nullptr;
}

const Picture* ResourceModule::FindIcon(int iconId) const { return FindById(icons, iconId); }

const Picture* ResourceModule::FindBitmap(int bitmapId) const { return FindById(bitmaps, bitmapId); }

const ResourceModule* CurrentModule() { return currentModule; }

void SetCurrentModule(const ResourceModule* module) { currentModule = module; }

}  // namespace corvane::res
