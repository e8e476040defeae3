#include "trayicon/application_object.h"

namespace lumora {

namespace {
ApplicationObject* applicationObject = nullptr;
}  // namespace

void SetApplicationObject(ApplicationObject* app) { applicationObject = app; }

ApplicationObject* GetApplicationObject() { return applicationObject; }

}  // namespace lumora
