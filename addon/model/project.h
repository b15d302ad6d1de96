// The open project as the add-on sees it.
#pragma once

#include <memory>

#include "model/library.h"
#include "storage/object_store.h"

namespace lunvik {

// The project: its drawings, library and attributes, fetched from the host on demand, and
// its own store of preference packages (saved as the add-on's module data).
class Project {
 public:
  Project();
  virtual ~Project();
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;

  // The project's own package store.
  ObjectStore& store() const { return *store_; }
  // The loaded libraries.
  Library& library() const { return *library_; }
  // Forgets every cached answer of the host (libraries, drawings, attributes).
  virtual void dropCaches();
  // Has the host rebuild the plan's drawing.
  void rebuildPlan() const;

 private:
  std::unique_ptr<ObjectStore> store_;
  std::unique_ptr<Library> library_;
};

}  // namespace lunvik
