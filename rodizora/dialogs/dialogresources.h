#pragma once
// The templates and strings of the dialogs and commands in this folder. The program's resource set lists them
// with the rest of its resources (tests make a set of them alone).
#include <span>

#include "platform/ui/resource.h"

std::span<const ui::DialogResource> DialogTemplates();
std::span<const ui::StringResource> DialogStrings();
