// Writes a picture as an SVG document through Cairo: the title above the drawing, the legend
// beside it, every item in order on a white page. Texts are drawn as glyph outlines, so no
// text of the project ever becomes markup.
#pragma once

#include <string>

#include "host/render/picture.h"

namespace standin {

// Where a picture lands on its page (pixels, y down).
struct PageLayout {
  int width = 0;
  int height = 0;
  double scale = 1;             // pixels per metre of the picture
  double left = 0;              // the page position of the picture's extent's left ...
  double top = 0;               // ... and top
  PicturePoint minimum;         // the picture's extent
  PicturePoint maximum;
  double legendLeft = 0;
  double legendTop = 0;

  // The page position of a picture point.
  PicturePoint toPage(PicturePoint p) const { return {left + (p.x - minimum.x) * scale, top + (maximum.y - p.y) * scale}; }
};

// The page of a picture: at most 100 pixels a metre, the drawing at most 1400 x 1000 pixels.
PageLayout layoutPage(const Picture& picture);

// The picture as an SVG document; false with error when Cairo could not draw it.
bool writeSvg(const Picture& picture, std::string& out, std::string& error);

// Text as it is shown: valid UTF-8 kept, other bytes read as Latin-1, control characters but
// line feeds dropped and tabs made blanks.
std::string displayText(const std::string& bytes);

}  // namespace standin
