// Library-part files: the stand-in host's text form of a library part (README.md, "Library
// part files").
//
//   trestlar-library-part 1
//   name "Rectilinear"
//   type 4
//   id "{...}-{...}"
//   parent "{...}-{...}"
//   options 0 0
//   value1040 0
//   size 1 1
//   parameter length length "Length" 3
//   parameter cutAngle angle[2,2] "Cut angles" 0 0 0 0
//   parameter ID string "Kind code" flags 0 "RECT"
//   section 3DSC
//   ... the section's text, line by line ...
//   end 3DSC
//   section 3DSC crlf
//   ... the lines of a section whose lines end with CR LF ...
//   end 3DSC
//   section GIFF base64
//   ... base64 lines ...
//   end GIFF
//
// A file named NAME.gdl is a macro part (type 10) whose text is its master script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// One parameter definition with its default value(s).
struct PartParameter {
  std::string name;
  std::string description;
  int32_t typeID = 0;   // platform parameter type code
  int32_t flags = 0;
  bool isArray = false;
  int32_t rows = 1;     // arrays only
  int32_t columns = 1;  // arrays only
  std::vector<double> numbers;     // every kind but strings; rows x columns for an array
  std::vector<std::string> texts;  // strings

  // True for string parameters.
  bool isText() const;
  // The number of values the shape asks for.
  std::size_t valueCount() const;
};

// One section of a part other than its parameters.
struct PartSection {
  uint32_t code = 0;
  std::string data;  // text sections: their text; binary sections: their bytes
};

// A library part as the host keeps it.
struct LibraryPart {
  int32_t typeID = 0;
  std::string name;
  std::string path;  // the part's file
  std::string ownId;
  std::string parentId;
  uint8_t optionFlag1 = 0;
  uint8_t optionFlag2 = 0;
  int16_t value1040 = 0;
  double sizeA = 1.0;
  double sizeB = 1.0;
  std::vector<PartParameter> parameters;
  std::vector<PartSection> sections;  // in file order
  bool builtIn = false;  // a part of the add-on's built-in library: read only, no file

  // The first parameter called name (letter case ignored), or null.
  const PartParameter* parameter(const std::string& name) const;
  // The section of code, or null.
  const PartSection* section(uint32_t code) const;
  // Replaces or appends a section.
  void setSection(uint32_t code, std::string data);
};

// The kind names of parameter type codes used in the files ("length", "angle", ...); empty
// for an unknown code.
std::string parameterKindName(int32_t typeID);
// The code of a kind name; 0 when unknown.
int32_t parameterKindCode(const std::string& name);

// Reads the text of a part file. False with problem ("line N: ...") when the text is not a
// part; part is then unchanged.
bool readPartText(const std::string& text, LibraryPart& part, std::string& problem);
// The text form of a part (the file's content). A text section whose lines all end with CR LF
// is written "section CODE crlf", its lines one a line; text sections that would not read back
// as written either way (no final line end, a stray carriage return, a line that would end the
// section, bytes that are not text) are written as base64.
std::string writePartText(const LibraryPart& part);
// Reads the parameter lines of a text (as in a part file, without the other lines) into
// parameters; false with problem when a line does not read.
bool readParameterLines(const std::string& text, std::vector<PartParameter>& parameters, double& sizeA,
                        double& sizeB, std::string& problem);
// The parameter lines (and the size line) of a part's parameters.
std::string writeParameterLines(const std::vector<PartParameter>& parameters, double sizeA, double sizeB);

// The text in lower case: part and parameter names are matched ignoring letter case.
std::string lowerText(std::string text);
// The four-character code as text ("3DSC").
std::string codeText(uint32_t code);
// The code of a four-character text; false when it is not four characters.
bool codeFromText(const std::string& text, uint32_t& code);

}  // namespace standin
