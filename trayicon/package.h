#pragma once
// The package's entry points and its component palette. A program calls
// InitializePackage before it creates its first tray component and
// FinalizePackage after the last one is gone.

#include <QString>
#include <utility>
#include <vector>

#include "trayicon/lumora_export.h"

namespace lumora {

// A registered component: class name and palette page.
using RegisteredComponent = std::pair<QString, QString>;

// Puts a component class on a palette page; a class registered before keeps
// its first entry.
LUMORA_EXPORT void RegisterComponent(const QString& className, const QString& page);

// The registered components, in order of registration.
LUMORA_EXPORT std::vector<RegisteredComponent> RegisteredComponents();

// Registers TTrayIconEx and TTrayPaintBox on the page "System".
LUMORA_EXPORT void InitializePackage();

// Forgets the registered components and unregisters the window classes that
// have no window left.
LUMORA_EXPORT void FinalizePackage();

}  // namespace lumora
