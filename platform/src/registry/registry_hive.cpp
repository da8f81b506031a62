// The key tree built from the edits of one hive file after another.
#include "platform/hive_registry.h"

namespace platform {
namespace {

// On Windows 95 HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes under
// another name; both spellings reach the same keys.
RegKeyPath Canonical(const RegKeyPath& key) {
  if (key.root != RegistryRoot::ClassesRoot) return key;
  RegKeyPath machine{RegistryRoot::LocalMachine, {"SOFTWARE", "Classes"}};
  machine.names.insert(machine.names.end(), key.names.begin(), key.names.end());
  return machine;
}

const RegKeyPath kClassesKey{RegistryRoot::LocalMachine, {"SOFTWARE", "Classes"}};

}  // namespace

RegistryHive::RegistryHive() { EnsureClassesRoot(); }

void RegistryHive::EnsureClassesRoot() { Ensure(kClassesKey); }

RegistryHive::Key& RegistryHive::Ensure(const RegKeyPath& key) {
  const RegKeyPath path = Canonical(key);
  Key* node = &roots_[static_cast<std::size_t>(path.root)];
  for (const std::string& name : path.names) {
    auto& child = node->subkeys[name];
    if (!child) child = std::make_unique<Key>();
    node = child.get();
  }
  return *node;
}

RegistryHive::Key* RegistryHive::FindMutable(const RegKeyPath& key) {
  const RegKeyPath path = Canonical(key);
  Key* node = &roots_[static_cast<std::size_t>(path.root)];
  for (const std::string& name : path.names) {
    const auto child = node->subkeys.find(name);
    if (child == node->subkeys.end()) return nullptr;
    node = child->second.get();
  }
  return node;
}

const RegistryHive::Key* RegistryHive::Find(const RegKeyPath& key) const {
  return const_cast<RegistryHive*>(this)->FindMutable(key);
}

const RegistryHive::Key& RegistryHive::Root(RegistryRoot root) const {
  return *Find(RegKeyPath{root, {}});
}

void RegistryHive::SetValue(const RegKeyPath& key, const std::string& valueName, RegData data) {
  Ensure(key).values.insert_or_assign(valueName, std::move(data));
}

void RegistryHive::Apply(const RegScript& script) {
  for (const RegEdit& edit : script.edits) {
    switch (edit.action) {
      case RegEdit::Action::CreateKey:
        Ensure(edit.key);
        break;
      case RegEdit::Action::DeleteKey: {
        const RegKeyPath path = Canonical(edit.key);
        if (path.names.empty()) break;
        RegKeyPath parent{path.root, {path.names.begin(), path.names.end() - 1}};
        if (Key* node = FindMutable(parent)) node->subkeys.erase(path.names.back());
        break;
      }
      case RegEdit::Action::SetValue:
        SetValue(edit.key, edit.valueName, edit.data);
        break;
      case RegEdit::Action::DeleteValue:
        if (Key* node = FindMutable(edit.key)) node->values.erase(edit.valueName);
        break;
    }
  }
  // Deleting SOFTWARE\Classes empties HKEY_CLASSES_ROOT; the root itself stays.
  EnsureClassesRoot();
}

}  // namespace platform
