// The stand-in host's 3D model: the generated bodies of the elements, numbered from 1 in the
// order they were made, and the element quantities.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/bodies/body_generator.h"

namespace standin {

// What the generator needs of an element: its part's parameter values, 3D script and
// placement. The kind is the parameters' `ID` (or `lunvik_ID`) unless given.
struct BodySource {
  std::string kind;
  std::vector<PartParameter> parameters;
  std::string script3D;
  BodyPlacement placement;
};

// The body source of an element of part: the element's own parameter values, completed by the
// part's defaults for those it lacks, the part's 3D script and the element's placement.
BodySource bodySourceFor(const LibraryPart& part, const std::vector<PartParameter>& elementValues,
                         const BodyPlacement& placement);

// The 3D model of the open project.
class BodyStore {
 public:
  // Answers an element's body source; false when the element has no 3D model.
  using Provider = std::function<bool(int32_t typeID, int32_t index, BodySource& source)>;

  // Answers a token that changes whenever the element's body source may have changed; false
  // when it cannot tell (the source is then read and compared every time).
  using Revision = std::function<bool(int32_t typeID, int32_t index, uint64_t& revision)>;

  // Answers the element's source in short bytes, of the named parameters only (lower-case
  // names): equal bytes over the parameters a body was made from mean an equal body, so a
  // changed stamp over unchanged values spares reading the source; false when it cannot tell.
  using Fingerprint = std::function<bool(int32_t typeID, int32_t index, const std::unordered_set<std::string>& names,
                                         std::string& print)>;

  // The element model's provider (elements placed in the project).
  void setProvider(Provider provider) { provider_ = std::move(provider); }
  // The element model's revision tokens, which spare reading an unchanged element's source.
  void setRevision(Revision revision) { revision_ = std::move(revision); }
  // The element model's fingerprints.
  void setFingerprint(Fingerprint fingerprint) { fingerprint_ = std::move(fingerprint); }
  // Gives an element a body source of its own, ahead of the provider.
  void place(int32_t typeID, int32_t index, BodySource source);
  // Forgets what was placed for an element.
  void remove(int32_t typeID, int32_t index);
  // Forgets every body and every placed source.
  void clear();
  // Forgets the generated bodies (a project was opened or closed); they are made anew when
  // asked for.
  void clearModel();

  // The element's body range, generated when its source changed; false when it has none.
  bool bodyRange(int32_t typeID, int32_t index, int32_t& first, int32_t& last);
  // Body index (from 1) of the model, or null.
  const GeneratedBody* body(int32_t index) const;
  // The element's volume and surface; false when it has no source.
  bool quantities(int32_t typeID, int32_t index, double& volume, double& surface);

 private:
  struct Generated {
    std::string key;  // the source the bodies were made from, in bytes
    bool revised = false;
    uint64_t revision = 0;  // the source's revision token when the key was checked
    std::string print;      // the source's fingerprint then, over reads (empty: none)
    std::unordered_set<std::string> reads;  // the parameters the generator asked for
    int32_t first = 0;
    int32_t last = -1;
    double volume = 0;
    double surface = 0;
  };
  bool source(int32_t typeID, int32_t index, BodySource& out) const;
  bool currentRevision(int32_t typeID, int32_t index, uint64_t& revision) const;
  const Generated* generate(int32_t typeID, int32_t index);

  Provider provider_;
  Revision revision_;
  Fingerprint fingerprint_;
  std::map<std::pair<int32_t, int32_t>, BodySource> placed_;
  std::map<std::pair<int32_t, int32_t>, uint64_t> placedRevision_;
  uint64_t placedCounter_ = 0;
  std::map<std::pair<int32_t, int32_t>, Generated> generated_;
  std::vector<GeneratedBody> bodies_;
};

}  // namespace standin
