// The timber database: keeps timber members consistent whatever tool made or changed them.
// It listens to the host's database notifications for the add-on's element tool, for lamps
// and for plain objects, tags new and copied timbers with their kind code, turns freshly
// drawn members to run along their length, moves members drawn in a section or elevation
// into the plan, refreshes derived values after edits and resets numbers that no longer fit.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/element_link.h"
#include "platform/element_records.h"
#include "runtime/subscriber.h"

namespace lunvik {
class Addon;
class CutPlane;
class Drawing;
class Element;
class Project;
}  // namespace lunvik

namespace varnholt {

class Crafted;
class FramingMember;

// One per add-on, from setup to release.
class TimberDatabase {
 public:
  // The element tool's object subtype.
  static constexpr uint32_t kToolVariation = platform::fourcc("Vrnh");

  // Registers the timber creator for kinds 6 and 7, then creates the eighteen subscribers and
  // subscribes them to addon.
  explicit TimberDatabase(lunvik::Addon& addon);
  // Unsubscribes the subscribers and removes the timber creator.
  ~TimberDatabase();
  TimberDatabase(const TimberDatabase&) = delete;
  TimberDatabase& operator=(const TimberDatabase&) = delete;

  // Tags a new element as a timber and settles its box, orientation and derived values;
  // true when it was a timber.
  bool tagNewTimber(const lunvik::ElementLink& link);
  // Refreshes a changed timber's derived values and checks its number; false when the element
  // is no timber.
  bool refreshChangedTimber(const lunvik::ElementLink& link);
  // Gives a copied element the user data of its kind code text; false when it has none.
  bool retagCopy(const lunvik::ElementLink& link);
  // Turns a newly drawn level member whose largest size lies across the plan or upright to
  // run along its length; true when it was turned.
  static bool autoOrient(FramingMember& member);
  // The numbering check: a typed number is recorded with the member's sizes, a number whose
  // sizes or timber type no longer match is reset to 0. True while the member keeps a number.
  static bool numberStillValid(FramingMember& member);

  // The subscribers: three watch targets of six each.
  const std::vector<std::unique_ptr<lunvik::Subscriber>>& subscribers() const { return subscribers_; }

  // ---- the subscribers, one of each per watch target ----
  // A subscriber of kind Base for one watch target, reporting to the database.
  template <class Base>
  class Watcher : public Base {
   public:
    Watcher(TimberDatabase& database, int32_t typeID, uint32_t variation)
        : Base(typeID, int32_t(variation)), database_(database) {}

   protected:
    TimberDatabase& database_;
  };
  // Start of a database operation: the per-operation state is cleared.
  class BeginTimber : public Watcher<lunvik::DataBeginSubscriber> {
   public:
    using Watcher::Watcher;
    bool elementEvent(lunvik::DatabaseEvent& event) override;
  };
  // End of a database operation: the assembly warning, copies, the cut plane's rebuild.
  class EndTimber : public Watcher<lunvik::DataEndSubscriber> {
   public:
    using Watcher::Watcher;
    bool elementEvent(lunvik::DatabaseEvent& event) override;
  };
  // A new element.
  class NewTimber : public Watcher<lunvik::NewElementSubscriber> {
   public:
    using Watcher::Watcher;
    bool elementEvent(lunvik::DatabaseEvent& event) override;
  };
  // An edit (move, rotate, mirror, stretch, resize) of an element.
  class EditTimber : public Watcher<lunvik::EditElementSubscriber> {
   public:
    using Watcher::Watcher;
    bool elementEdited(lunvik::ElementEditEvent& event) override;
  };
  // A change of an element's settings.
  class ChangeTimber : public Watcher<lunvik::ChangeElementSubscriber> {
   public:
    using Watcher::Watcher;
    bool elementEvent(lunvik::DatabaseEvent& event) override;
  };
  // A copied element.
  class CopyObject : public Watcher<lunvik::CopyElementSubscriber> {
   public:
    using Watcher::Watcher;
    bool elementEvent(lunvik::DatabaseEvent& event) override;
  };

 private:
  void beginOperation();
  void endOperation();
  void newElement(const lunvik::ElementLink& link);
  void editedElement(const lunvik::ElementLink& link, int32_t editKind);
  void changedElement(const lunvik::ElementLink& link);
  void copiedElement(const lunvik::ElementLink& link);
  // Refreshes a timber's derived values, checks its number and stores it.
  void refresh(Crafted& timber);
  // Moves a timber read from a cut plane into the plan as a new element.
  bool moveIntoPlan(Crafted& timber, lunvik::CutPlane& from);

  lunvik::Addon& addon_;
  std::vector<std::unique_ptr<lunvik::Subscriber>> subscribers_;
  std::unique_ptr<std::vector<lunvik::ElementLink>> copied_;
  std::optional<platform::DatabaseRecord> placement_;
  int32_t newTimbers_ = 0;
  bool assemblyWarning_ = false;
};

}  // namespace varnholt
