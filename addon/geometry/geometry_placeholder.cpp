// Geometry kernel sources live beside this file.
namespace lunvik {}
