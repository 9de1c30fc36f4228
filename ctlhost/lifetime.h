// Objects that hear of the library's process and thread attach and detach:
// each registers itself in the lifetime registry and DllMain fans the four
// events out to every registered object in registry order.
#pragma once

#include <windows.h>

namespace ctlhost {

class LifetimeObject {
 public:
  LifetimeObject();
  virtual ~LifetimeObject();
  LifetimeObject(const LifetimeObject&) = delete;
  LifetimeObject& operator=(const LifetimeObject&) = delete;

  virtual int ProcessAttach(HINSTANCE library) { return 0; }
  virtual int ProcessDetach() { return 0; }
  virtual int ThreadAttach() { return 0; }
  virtual int ThreadDetach() { return 0; }
};

enum class LifetimeEvent { kProcessAttach, kProcessDetach, kThreadAttach, kThreadDetach };
void NotifyLifetimeObjects(LifetimeEvent event, HINSTANCE library);
// Frees the registry itself (after the last registered object is gone).
void CloseLifetimeRegistry();

}  // namespace ctlhost
