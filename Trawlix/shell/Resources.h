// The program's resources: dialog templates, the command menu, strings and
// the icon, as tables.
#pragma once

#include "Application.h"
#include "Templates.h"

namespace resources {

extern const framework::DialogTemplate kMainDialog;   // template 102
extern const framework::DialogTemplate kAboutDialog;  // template 100
extern const framework::MenuTemplate kCommandMenu;    // menu 134

// Strings, icons and menus by number, for the application object.
framework::Resources All();

inline constexpr char kVersion[] = "0.1.0.5";
inline constexpr char kProductName[] = "Ventis";

}  // namespace resources
