// The bundled sample's pictures in a real browser: headless Chromium loads them without errors
// at their size and shows the colours drawn. Skipped, with a message, where no Chromium is
// installed (scripts/install-deps installs it when it can).
#include <gtest/gtest.h>

#include <cairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/render/projection.h"
#include "host/render/scene.h"
#include "host/render/svg_writer.h"
#include "support/loaded_host.h"

namespace {

// The first of the browser's usual names found on the PATH, or "".
std::string findChromium() {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':'))
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
      std::string candidate = folder + "/" + name;
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
  return std::string();
}

// Runs a command, answering its standard output.
std::string output(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

// A pixel of a PNG image.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB
  standin::Rgb at(double x, double y) const {
    const uint32_t p = pixels[std::size_t(int(y)) * std::size_t(width) + std::size_t(int(x))];
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
  }
};

bool readPng(const std::string& path, Image& image) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_surface_flush(surface);
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        image.pixels.push_back(reinterpret_cast<const uint32_t*>(data + std::ptrdiff_t(y) * stride)[x]);
  }
  cairo_surface_destroy(surface);
  return ok;
}

::testing::AssertionResult near(standin::Rgb actual, standin::Rgb expected) {
  auto off = [](int a, int b) { return std::abs(a - b) > 3; };
  if (off(actual.r, expected.r) || off(actual.g, expected.g) || off(actual.b, expected.b))
    return ::testing::AssertionFailure() << "rgb(" << int(actual.r) << "," << int(actual.g) << "," << int(actual.b)
                                         << ") is not rgb(" << int(expected.r) << "," << int(expected.g) << ","
                                         << int(expected.b) << ")";
  return ::testing::AssertionSuccess();
}

class Browser : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    chromium_ = findChromium();
    if (chromium_.empty()) GTEST_SKIP() << "no Chromium is installed: the pictures are not checked in a browser";
    LoadedHost::SetUp();
    char pattern[] = "/tmp/trestlar-browser-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    LoadedHost::TearDown();
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
  }

  // Chromium as the test runs it: headless, offline, with a profile of its own.
  std::string browser(const std::string& profile) const {
    return "timeout 120 " + chromium_ +
           " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking"
           " --disable-component-update --disable-sync --user-data-dir=" + dir_ + "/" + profile;
  }

  // Draws a view of the open project into dir/name.svg; answers its page.
  standin::PageLayout drawInto(const std::string& view, const std::string& name) {
    standin::ViewChoice choice;
    EXPECT_TRUE(standin::findView(host().model(), view, choice));
    standin::Picture picture = standin::drawView(host(), choice);
    picture.setTitle("barn.trestlar - " + view);
    std::string svg, error;
    EXPECT_TRUE(standin::writeSvg(picture, svg, error)) << error;
    std::ofstream(dir_ + "/" + name + ".svg") << svg;
    return standin::layoutPage(picture);
  }

  // A screenshot of dir/name.svg at the page's size.
  Image screenshot(const std::string& name, const standin::PageLayout& page) {
    const std::string png = dir_ + "/" + name + ".png";
    output(browser(name) + " --window-size=" + std::to_string(page.width) + "," + std::to_string(page.height) +
           " --screenshot=" + png + " file://" + dir_ + "/" + name + ".svg 2>/dev/null");
    Image image;
    EXPECT_TRUE(readPng(png, image)) << "Chromium made no screenshot of " << name;
    return image;
  }

  std::string chromium_;
  std::string dir_;
};

TEST_F(Browser, TheSamplesPicturesLoadAtTheirSizeAndShowTheirColours) {
  std::string error;
  ASSERT_TRUE(host().openProject(std::string(TRESTLAR_SOURCE_DIR) + "/examples/barn.trestlar", error)) << error;
  const standin::PageLayout plan = drawInto("plan", "plan");
  const standin::PageLayout model = drawInto("3d", "3d");

  // Both load as images, at their size; an image that does not load says so in the title.
  std::ofstream(dir_ + "/page.html")
      << "<!DOCTYPE html><html><head><title>loading</title></head><body>\n"
         "<img id=\"plan\" src=\"plan.svg\" onerror=\"this.alt='error'\">\n"
         "<img id=\"model\" src=\"3d.svg\" onerror=\"this.alt='error'\">\n"
         "<script>window.addEventListener('load', function () {\n"
         "  var size = function (i) { return i.alt === 'error' ? 'error' : i.naturalWidth + 'x' + i.naturalHeight; };\n"
         "  document.title = 'plan ' + size(document.getElementById('plan')) + ' 3d ' +\n"
         "                   size(document.getElementById('model'));\n"
         "});</script></body></html>\n";
  const std::string dom = output(browser("dom") + " --dump-dom file://" + dir_ + "/page.html 2>/dev/null");
  const std::string expected = "<title>plan " + std::to_string(plan.width) + "x" + std::to_string(plan.height) +
                               " 3d " + std::to_string(model.width) + "x" + std::to_string(model.height) + "</title>";
  EXPECT_NE(dom.find(expected), std::string::npos) << expected << " in\n" << dom;

  Image planImage = screenshot("plan", plan);
  ASSERT_EQ(planImage.width, plan.width);
  ASSERT_EQ(planImage.height, plan.height);
  // The white page, and the top of the wall plate WPL-22 halfway between two posts, in the
  // first timber type's colour (Green), drawn flat in the plan.
  EXPECT_TRUE(near(planImage.at(5, 5), {255, 255, 255}));
  standin::PicturePoint plate = plan.toPage({2, 0});
  EXPECT_TRUE(near(planImage.at(plate.x, plate.y), {200, 161, 101}));

  Image modelImage = screenshot("3d", model);
  ASSERT_EQ(modelImage.width, model.width);
  ASSERT_EQ(modelImage.height, model.height);
  EXPECT_TRUE(near(modelImage.at(model.width - 5, model.height - 5), {255, 255, 255}));
  // The south face of the post PST-01 a metre up, nearest the viewer: Green shaded by
  // 0.62 + 0.15 x 0.75 (its normal's part toward a viewer 30 degrees up from the south-south-west).
  standin::Projection projection = standin::Projection::axonometric(4 * 3.14159265358979323846 / 3,
                                                                    3.14159265358979323846 / 6);
  standin::PicturePoint post = model.toPage(projection.project({0, -0.1, 1.0}));
  EXPECT_TRUE(near(modelImage.at(post.x, post.y), {147, 118, 74}));
}

}  // namespace
