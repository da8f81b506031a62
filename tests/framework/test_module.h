// A small resource module for framework tests.
#pragma once
#include "framework/afxwin.h"
#include "framework/resources.h"

namespace corvane::testing {

constexpr UINT kFormDialog = 200;      // edit field, default OK, Cancel, a button; close box
constexpr UINT kPlainDialog = 201;     // visible, no close box, no buttons
constexpr int kEditField = 1000;
constexpr int kActionButton = 1001;

inline const res::ResourceModule& TestModule() {
  using res::ControlKind;
  static const res::ResourceModule module = [] {
    res::ResourceModule m;
    m.name = "framework-test";
    m.dialogs = {
        {static_cast<int>(kFormDialog), false, 2057, 0x80C800C0, 0, 0, 0, 0, 200, 60, "Form", "MS Sans Serif", 8, 0,
         false, 1,
         {{IDC_STATIC, ControlKind::Static, "Name:", 0x50020000, 7, 7, 40, 8},
          {kEditField, ControlKind::Edit, "", 0x50810080, 50, 5, 100, 14},
          {IDOK, ControlKind::PushButton, "OK", 0x50010001, 150, 5, 40, 14},
          {IDCANCEL, ControlKind::PushButton, "Cancel", 0x50010000, 150, 22, 40, 14},
          {kActionButton, ControlKind::PushButton, "Act", 0x50010000, 150, 39, 40, 14}}},
        {static_cast<int>(kPlainDialog), false, 2057, 0x90C000C0, 0, 0, 0, 0, 100, 40, "Plain", "MS Sans Serif", 8,
         0, false, 1, {{IDC_STATIC, ControlKind::Static, "Busy", 0x50020000, 5, 5, 50, 8}}},
    };
    m.strings = {{1, "Caption"}, {2, "Two\nlines"}};
    return m;
  }();
  return module;
}

}  // namespace corvane::testing
