// The product's library upkeep: its own library folder and the generated "ProjectData" macro
// that timber library parts call for joint, timber, project and increment data.
#pragma once

#include "runtime/cad_string.h"
#include "runtime/subscriber.h"

namespace varnholt {

class JointPrefs;
class ProjectPrefs;
class TimberPrefs;

// The text of the "ProjectData" macro for the given packages (timbers may be null).
lunvik::CadString projectDataMacro(const ProjectPrefs& project, const JointPrefs& joints, const TimberPrefs* timbers);

// A GDL string expression that gives text: a literal in double quotes, or in single quotes when
// the text holds a double quote and no single one; a text holding both is a sum of literals
// ("it's 8" + '"'). Line breaks become spaces.
lunvik::CadString gdlString(const lunvik::CadString& text);

// The add-on's own library folder: the host's folder of kind 7, "Add-Ons", then "Framing".
lunvik::CadString addonLibraryFolder();

// Adds the add-on's library folder to the project's libraries when "loadTimber" asks for it,
// the folder exists and it is not loaded yet.
void checkLibraryFolder();

// Runs the library folder check on every menu event; takes none.
class LibraryChecker : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  bool takeEvent(lunvik::Event& event) override;
};

// Regenerates the macro before a menu command runs when the library has none; takes no event.
class ProjectDataChecker : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  bool takeEvent(lunvik::Event& event) override;
};

// Writes the "ProjectData" macro on 'DRPE'.
class ProjectDataExporter : public lunvik::Subscriber {
 public:
  lunvik::EventSpec spec() const override;
  bool takeEvent(lunvik::Event& event) override;
  // Writes the macro; false when the packages are missing or no file could be written.
  static bool exportMacro();
};

}  // namespace varnholt
