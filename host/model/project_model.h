// The stand-in host's model of the open project: databases, elements, memos, selection,
// groups, storeys, layers and attributes, the host's own edit tools and the database
// notifications they fire (README.md, "Host model").
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/project/project_file.h"
#include "platform/element_records.h"
#include "platform/host_table.h"
#include "platform/parameter_records.h"

namespace standin {

class LibraryIndex;
class MemoryManager;

// A parameter as the host keeps it: the record (no handle inside) and an array's values.
struct StoredParameter {
  platform::HostParameterRecord record{};
  std::vector<double> numbers;
  std::vector<std::string> texts;
};

// A polygon memo as the host keeps it.
struct StoredPolygon {
  std::vector<platform::Coord2D> coords;
  std::vector<int32_t> ends;
  std::vector<platform::PolyArcRecord> arcs;
  std::vector<int32_t> ids;
  bool empty() const { return coords.empty(); }
};

// One element of a database.
struct HostElement {
  platform::ElementRecord record{};
  bool deleted = false;
  std::string libraryPart;       // a placed part's library part name
  std::vector<StoredParameter> parameters;
  StoredPolygon polygon;
  std::string gables;
  std::string text;
  std::vector<platform::Guid> members;  // a group's members
  bool hasUserData = false;
  std::string userData;
  int32_t userValue = 0;
  int32_t userFlags = 0;
  const platform::ElementHeader& header() const { return record.header; }
};

// One database: its elements by kind (index = position + 1; deleted ones stay). Its identity
// is its kind, index (unique within the kind) and number.
struct HostDatabase {
  platform::DatabaseRecord id{};
  std::string name;
  platform::SegmentRecord cut{};  // cut planes: the cut line
  double angle = 0;               // and the view angle
  std::map<int32_t, std::vector<std::unique_ptr<HostElement>>> kinds;
};

// An attribute the project holds beyond its layers and the pens, line types, fills and
// materials 1 to 255 that every project has: one created or changed through the host.
struct StoredAttribute {
  platform::AttributeRecord record{};
  std::vector<platform::CompositeSkinRecord> skins;  // a composite's skins
  std::vector<StoredParameter> parameters;           // a zone category's stamp parameters
};

// A value for one parameter of a placed object.
struct ParameterValue {
  std::string name;
  int32_t type = platform::kParamReal;  // the type code when the parameter is new
  double number = 0;
  std::string text;
  bool isText = false;

  // A number value.
  static ParameterValue ofNumber(std::string name, double value) {
    ParameterValue v;
    v.name = std::move(name);
    v.number = value;
    return v;
  }
  // A text value.
  static ParameterValue ofText(std::string name, std::string value) {
    ParameterValue v;
    v.name = std::move(name);
    v.text = std::move(value);
    v.isText = true;
    return v;
  }
};

// Hashes a GUID by its bytes.
struct GuidHash {
  std::size_t operator()(const platform::Guid& g) const {
    uint64_t a = 0, b = 0;
    for (int i = 0; i < 8; ++i) {
      a = (a << 8) | g.bytes[i];
      b = (b << 8) | g.bytes[8 + i];
    }
    return std::size_t(a * 0x9E3779B97F4A7C15ull ^ b);
  }
};

// The open project's content.
class ProjectModel {
 public:
  ProjectModel();
  ProjectModel(const ProjectModel&) = delete;
  ProjectModel& operator=(const ProjectModel&) = delete;

  // Empties the model: a plan with one storey and one layer, an empty 3D model.
  void clear();
  // Takes a project file's model (resolving library parts by name through library).
  void load(const ModelData& data);
  // The model as the project file writes it.
  ModelData save() const;
  // Where notifications go (the host's element observer) and which new kinds are caught.
  void setNotifier(std::function<void(const platform::ElementNotifyRecord&)> notify) { notify_ = std::move(notify); }
  void setCaught(const std::vector<std::pair<int32_t, int32_t>>* caught) { caught_ = caught; }
  void setLibrary(std::function<const LibraryIndex&()> library) { library_ = std::move(library); }
  void setMemory(MemoryManager* memory) { memory_ = memory; }
  void setGroupsSuspended(std::function<bool()> suspended) { suspended_ = std::move(suspended); }

  // ---- databases ----
  HostDatabase& plan() { return *databases_.front(); }
  // The database of an identity (kind, index and number), or null.
  HostDatabase* database(const platform::DatabaseRecord& id);
  // The database of a kind and index whatever its number (the index is unique within a
  // kind), or null.
  HostDatabase* database(int32_t kind, int32_t index);
  // The identities of every database, the plan first.
  std::vector<platform::DatabaseRecord> databaseIds() const;
  // The first database of that name (letter case ignored), or null.
  HostDatabase* databaseNamed(const std::string& name);
  // Adds a section or elevation (kind 2 or 10) with its cut line; answers its identity.
  platform::DatabaseRecord addCutPlane(int32_t kind, double x1, double y1, double x2, double y2, double angle,
                                       const std::string& name, int16_t number = 0);
  // Adds an empty database of another kind, the next index of the kind and the number given.
  platform::DatabaseRecord addDatabase(int32_t kind, const std::string& name, int16_t number = 0);
  const platform::DatabaseRecord& current() const { return current_; }
  bool setCurrent(const platform::DatabaseRecord& id);
  HostDatabase& currentDatabase();

  // ---- storeys and layers ----
  void setStoreys(const std::vector<FileStorey>& storeys, int32_t current);
  const std::vector<FileStorey>& storeys() const { return storeys_; }
  // Changes whenever the storeys are set anew.
  uint32_t storeyRevision() const { return storeyRevision_; }
  int32_t currentStorey() const { return currentStorey_; }
  void addLayer(int32_t index, const std::string& name, bool hidden, bool locked);
  const FileLayer* layer(int32_t index) const;
  const std::vector<FileLayer>& layers() const { return layers_; }

  // ---- attributes ----
  // The attribute of a type and index (layers, stored ones, then the implicit pens, line
  // types, fills and materials 1 to 255, named by their number); false when there is none.
  bool attribute(int32_t type, int32_t index, platform::AttributeRecord& out) const;
  // The stored attribute of a type and index (created or changed through the host), or null.
  const StoredAttribute* storedAttribute(int32_t type, int32_t index) const;
  // Creates an attribute from a record (and its memo parts); answers its index, 0 when the
  // type is unknown, the name empty or in use, or the type full.
  int32_t createAttribute(const StoredAttribute& attribute);
  // Replaces an existing attribute of the record's type and index; false when there is none
  // or the name is empty or another's. The memo parts are kept unless given (keepMemo false).
  bool modifyAttribute(const StoredAttribute& attribute, bool keepMemo);
  // Every stored attribute, by type and index.
  const std::map<std::pair<int32_t, int32_t>, StoredAttribute>& attributes() const { return attributes_; }

  // ---- elements ----
  // The element of kind and index in the current database (deleted ones too), or null.
  HostElement* element(int32_t typeID, int32_t index);
  // The element with guid in any database, or null (deleted ones included when asked).
  HostElement* find(const platform::Guid& guid, bool deleted = false);
  // The live elements of any kind and database whose element ID is id (letter case kept), in
  // database, kind and index order; none for an empty id. An index keyed by the modification
  // stamps answers it, so an ID written into a record counts once the element is touched.
  std::vector<HostElement*> findById(const std::string& id);
  // Creates an element in database db from a record (header filled in) and its memo parts.
  HostElement& create(HostDatabase& db, const platform::ElementRecord& record);
  // Marks a change of the element: a new modification stamp.
  void touch(HostElement& element);
  // Deletes the element (its index stays used).
  void remove(HostElement& element);
  // The elements of a kind in a database, deleted ones skipped.
  std::vector<HostElement*> elements(HostDatabase& db, int32_t typeID);
  // The number of elements per kind of a database, deleted ones skipped.
  std::size_t liveCount(HostDatabase& db) const;

  // ---- the host's own tools (fire the database notifications) ----
  // Places an object (kind 6, or 7 for a lamp) of a library part at a position, as the
  // host's object tool draws it: the element takes every parameter of the part, the given
  // values over the defaults (values named A, B and ZZYZX size its box). In the plan
  // (section null) it lands on the current storey at elevation z; in a section or elevation
  // it is an element of that view at view position (x along the cut line, y across it, z up)
  // and the view becomes current. variation is the tool's subtype ('Vrnh' for the add-on's
  // element tool, 0 for a plain object). Notifications: begin, new, end. Answers the new
  // element (null when the library part or the view is unknown).
  HostElement* placeObject(const std::string& libraryPart, const std::vector<ParameterValue>& values, double x,
                           double y, double z, double angle, const platform::DatabaseRecord* section = nullptr,
                           int32_t typeID = platform::kObject, uint32_t variation = 0);
  // Resizes a placed part's box as its stretch and resize handles do (the record's sizes and
  // its A, B and ZZYZX parameters); begin, edit with editKind ('STRE', 'VSTR', 'RSIZ'), end.
  // False for a missing, locked or unplaced element.
  bool resizeObject(const platform::Guid& guid, double a, double b, double height, uint32_t editKind);
  // Places a polygon element (hatch, polyline, slab); begin, new, end.
  HostElement* placePolygon(int32_t typeID, const StoredPolygon& polygon);
  // Applies an edit to elements (begin, then copy or edit with its kind for each, end);
  // answers the edited (or new copied) elements' GUIDs.
  std::vector<platform::Guid> edit(const std::vector<platform::Guid>& guids, const platform::EditRecord& edit);
  // Changes parameter values of an element as the settings dialog does (begin, change, end).
  bool changeParameters(const platform::Guid& guid, const std::vector<ParameterValue>& values);

  // ---- selection and groups ----
  const std::vector<platform::Guid>& selection() const { return selection_; }
  // Selects (add) or deselects guid; with groups active, the whole main group follows.
  void select(const platform::Guid& guid, bool add);
  void deselectAll() { selection_.clear(); }
  bool isSelected(const platform::Guid& guid) const;
  // The element's main (outermost) group, or the zero GUID.
  platform::Guid mainGroup(const platform::Guid& guid);
  // Groups the elements into a new group; answers its GUID (zero when fewer than one).
  platform::Guid group(const std::vector<platform::Guid>& guids);
  // Dissolves the immediate groups of the elements (main groups of members).
  void ungroup(const std::vector<platform::Guid>& guids);
  void lock(const std::vector<platform::Guid>& guids, bool on);

  // ---- records of what was asked where nothing is drawn ----
  struct ViewRecord {
    std::string what;   // "hide", "redraw", "zoom", "rebuild", "redrawAll", "rebuildAll"
    platform::Guid guid{};
    platform::BoxRecord box{};
  };
  const std::vector<ViewRecord>& viewRecords() const { return views_; }
  void note(const ViewRecord& r) { views_.push_back(r); }
  // The default record of a kind.
  platform::ElementRecord defaults(int32_t typeID) const;

  // Fires one notification.
  void notify(int32_t code, const HostElement* element, int32_t param);
  // True when the filter bits pass for element.
  bool passes(const HostElement& element, int32_t bits);
  // The memory manager for handles.
  MemoryManager& memory() { return *memory_; }
  const LibraryIndex* library() const;
  bool groupsSuspended() const { return suspended_ && suspended_(); }
  // Copies a memo's parts into the element; false when a part does not fit.
  bool takeMemo(HostElement& element, const platform::ElementMemoRecord* memo, int32_t mask);
  // Fills a memo with the element's parts of mask.
  platform::GSErr giveMemo(const HostElement& element, platform::ElementMemoRecord& memo, int32_t mask);
  // Moves, rotates, mirrors or stretches an element's geometry.
  void transform(HostElement& element, const platform::EditRecord& edit);
  // A new GUID (deterministic: a counter).
  platform::Guid newGuid();

 private:
  void index(HostElement& element);
  void indexIds();

  std::vector<std::unique_ptr<HostDatabase>> databases_;
  std::unordered_map<platform::Guid, HostElement*, GuidHash> byGuid_;
  std::unordered_map<std::string, std::vector<HostElement*>> byId_;
  bool idsCurrent_ = false;  // byId_ was built at idStamp_
  uint32_t idStamp_ = 0;
  platform::DatabaseRecord current_{platform::kDatabasePlan, 0, 0, 0};
  std::vector<FileStorey> storeys_;
  int32_t currentStorey_ = 0;
  uint32_t storeyRevision_ = 0;
  std::vector<FileLayer> layers_;
  std::map<std::pair<int32_t, int32_t>, StoredAttribute> attributes_;
  std::vector<platform::Guid> selection_;
  std::vector<ViewRecord> views_;
  uint32_t stamp_ = 0;
  uint64_t guidCounter_ = 0;
  std::function<void(const platform::ElementNotifyRecord&)> notify_;
  bool notifying_ = false;
  const std::vector<std::pair<int32_t, int32_t>>* caught_ = nullptr;
  std::function<const LibraryIndex&()> library_;
  std::function<bool()> suspended_;
  MemoryManager* memory_ = nullptr;
};

// Fills the model's slots of the host table.
void installModelOperations(platform::HostFunctionTable& table);

// The model's codes of the dispatchers; false when code is not the model's (result unset).
bool modelDatabase(uint32_t code, void* p1, void* p2, void* p3, platform::GSErr& result);
bool modelEnvironment(uint32_t code, void* p1, void* p2, void* p3, platform::GSErr& result);
bool modelGoodies(uint32_t code, void* p1, void* p2, void* p3, platform::GSErr& result);
bool modelAutomate(uint32_t code, void* p1, void* p2, void* p3, platform::GSErr& result);
bool modelElementTool(const void* elements, int32_t count, uint32_t code, platform::GSErr& result);

// The element's box as 'CABO' answers it: x and y where it lies, z from its elevation; false
// for a kind without a box.
bool elementBox(const HostElement& element, platform::Box3DRecord& box);
// The element ID field of a record (placed parts, polygon kinds, linear kinds, arcs and
// circles), or null for kinds without one.
char* elementIdField(platform::ElementRecord& record);
// The element ID of a record ("" for kinds without one).
std::string elementId(const platform::ElementRecord& record);

// The GUID as the notifications write it (8-4-4-4-12 upper-case hex).
std::string guidString(const platform::Guid& guid);
// Parses guidString's form; false for other text.
bool parseGuid(const std::string& text, platform::Guid& guid);

}  // namespace standin
