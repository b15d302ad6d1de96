// Parameter lists: an owning vector of parameters looked up by name with letter case ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/parameter.h"
#include "platform/host_types.h"
#include "runtime/cad_string.h"
#include "runtime/containers.h"

namespace lunvik {

// An owning vector of parameters; clone() clones each. It counts every change of its members
// and of their names (generation()), so that a name index over it knows when it is stale.
// Walking it hands out the parameters but never lets a member be swapped out in place.
class ParameterVector : public Vector<Parameter> {
 public:
  ParameterVector() = default;
  ~ParameterVector() override;
  std::unique_ptr<ParameterVector> clone() const;

  void push_back(Parameter* item);
  void push_back(std::unique_ptr<Parameter> item);
  void insert(std::size_t pos, Parameter* item);
  void clear();
  void erase(std::size_t i);
  // Gives up the parameter at i (it then belongs to no list); null when out of range.
  Parameter* release(std::size_t i);
  Storage::const_iterator begin() const { return Vector::begin(); }
  Storage::const_iterator end() const { return Vector::end(); }

  // Changes with every member added, removed or renamed.
  uint32_t generation() const { return generation_; }
  // A member took a new name.
  void nameChanged() { ++generation_; }

 private:
  void adopt(Parameter* item);

  uint32_t generation_ = 0;
};

// A facade over one owned ParameterVector. Name lookups go through an index of lower-cased
// names built once per list (and again only after the list, or a name in it, changes: also
// through vector() or a parameter's setName).
class ParameterList {
 public:
  ParameterList();
  ParameterList(const ParameterList& other);
  ParameterList& operator=(const ParameterList& other);
  virtual ~ParameterList();

  // The position of the first parameter called name (letter case ignored), or -1.
  virtual int32_t indexOf(const CadString& name) const;
  // The parameter at position, or null when position is at or beyond count().
  virtual Parameter* parameter(int32_t position);
  virtual const Parameter* parameter(int32_t position) const;
  // The first parameter called name (letter case ignored), or null.
  virtual Parameter* parameter(const CadString& name);
  virtual const Parameter* parameter(const CadString& name) const;
  virtual int32_t count() const;
  // Removes and deletes the parameter at position; nothing when out of range.
  virtual void removeAt(int32_t position);
  // Deletes every parameter.
  virtual void clear();
  // Puts parameter in place of the one at position (appends beyond the end); takes it.
  virtual void replace(Parameter* parameter, int32_t position);
  // Inserts before position (appends beyond the end); takes it.
  virtual void insert(Parameter* parameter, int32_t position);
  // Appends; takes it.
  virtual void add(Parameter* parameter);
  // From the last parameter to the first: assigns from source's parameter of the same name;
  // the result of the last assignment tried (false when none was).
  virtual bool merge(const ParameterList& source);

  // Replaces the contents by the records of handle (HostParameterRecord each); a record that
  // does not convert empties the list (false); an empty or null handle gives an empty list.
  bool fromHostRecords(platform::GSHandle handle);
  // A new handle of one host record per parameter, or null when any parameter fails.
  platform::GSHandle toHostRecords() const;
  // Replaces the contents by the host's list of changed parameters ('NCLP', 'GCLP').
  bool fromChanges();
  // Frees the array handles a handle of host records holds, and the handle.
  static void disposeHostRecords(platform::GSHandle handle);

  // The same as fromHostRecords (a command's parameters).
  bool readHandle(platform::GSHandle handle) { return fromHostRecords(handle); }
  // The scalar number of the first parameter called name; false when there is none or it
  // is a text.
  bool number(const CadString& name, double& value) const;
  // The scalar text of the first parameter called name; false when there is none.
  bool text(const CadString& name, CadString& value) const;
  // Back-compatible count.
  std::size_t parameterCount() const { return std::size_t(count()); }

  // The parameters themselves; changes made through it keep the name lookups right.
  ParameterVector& vector() { return *vector_; }
  const ParameterVector& vector() const { return *vector_; }

 private:
  void changed() { indexValid_ = false; }
  void buildIndex() const;

  std::unique_ptr<ParameterVector> vector_;
  // The name index, open-addressed over a power-of-two table: position + 1 per slot, 0 free.
  mutable std::vector<int32_t> slots_;
  mutable bool indexValid_ = false;
  mutable uint32_t indexedGeneration_ = 0;  // the vector's generation the index was built at
};

}  // namespace lunvik
