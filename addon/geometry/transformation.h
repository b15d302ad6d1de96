// The host's edits (move, copy, rotate, mirror and the like) queued on elements.
#pragma once

#include <cstdint>
#include <memory>

#include "geometry/cad_point.h"
#include "platform/geometry_records.h"
#include "runtime/containers.h"

namespace lunvik {

// One edit of the host, holding the host's 160-byte edit-parameters record.
class Transformation {
 public:
  // Zeroes the record, stores the kind, flag := !keep, origin := the origin's plan coordinate.
  Transformation(int32_t kind, bool keep, const CadPoint& origin);
  Transformation(const Transformation&) = default;
  Transformation& operator=(const Transformation&) = default;

  virtual ~Transformation();
  // A heap copy of the same class.
  virtual std::unique_ptr<Transformation> clone() const;
  // Same kind and flag, origins equal in plan and the three points equal (0.00001).
  virtual bool operator==(const Transformation& t) const;

  bool operator!=(const Transformation& t) const { return !(*this == t); }
  // The record handed to the host.
  const platform::EditRecord& record() const { return record_; }
  platform::EditRecord& record() { return record_; }
  // The four-character edit code.
  int32_t kind() const { return record_.kind; }

 protected:
  platform::EditRecord record_;
};

// A drag from a point by an offset ('DRAG', the original not kept).
class MoveTransform : public Transformation {
 public:
  MoveTransform(const CadPoint& offset, const CadPoint& from);
  std::unique_ptr<Transformation> clone() const override;
};

// An owning list of edits that clones its members when copied.
class TransformList : public List<Transformation> {
 public:
  TransformList() = default;
  TransformList(const TransformList& other);
  TransformList& operator=(const TransformList& other);
  TransformList(TransformList&&) noexcept = default;
  TransformList& operator=(TransformList&&) noexcept = default;
  ~TransformList() override = default;
};

}  // namespace lunvik
