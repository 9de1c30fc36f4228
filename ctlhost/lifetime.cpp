// The lifetime registry; see lifetime.h.
#include "lifetime.h"

#include "core/pointer_list.h"

namespace ctlhost {

namespace {
PointerList* g_registry = nullptr;
PointerList& Registry() {
  if (g_registry == nullptr) g_registry = new PointerList(4);
  return *g_registry;
}
}  // namespace

LifetimeObject::LifetimeObject() { Registry().Register(this); }

LifetimeObject::~LifetimeObject() {
  if (g_registry != nullptr) g_registry->Remove(this);
}

void NotifyLifetimeObjects(LifetimeEvent event, HINSTANCE library) {
  if (g_registry == nullptr) return;
  for (void* entry : g_registry->Entries()) {
    auto* object = static_cast<LifetimeObject*>(entry);
    switch (event) {
      case LifetimeEvent::kProcessAttach:
        object->ProcessAttach(library);
        break;
      case LifetimeEvent::kProcessDetach:
        object->ProcessDetach();
        break;
      case LifetimeEvent::kThreadAttach:
        object->ThreadAttach();
        break;
      case LifetimeEvent::kThreadDetach:
        object->ThreadDetach();
        break;
    }
  }
}

void CloseLifetimeRegistry() {
  delete g_registry;
  g_registry = nullptr;
}

}  // namespace ctlhost
