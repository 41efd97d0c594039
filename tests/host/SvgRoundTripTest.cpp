// Files opened and saved: with no edit, the same XML and the same picture; with one new polyline, the file
// plus that line and nothing else. Pictures are rendered by rsvg-convert and compared pixel for pixel.
#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/document/Svg.h"

namespace {

namespace fs = std::filesystem;

/// CSS px per point: rsvg-convert renders one px per pixel.
constexpr double kPixelsPerPoint = 4.0 / 3.0;
/// How far from the new line, in pixels, its stroke and antialiasing may change the picture.
constexpr double kLineReach = 3;

/// Whitespace-only text is layout, not content.
constexpr unsigned kCompared = pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype;

/// The first difference between two trees, empty when they are the same XML: names, attributes in any order,
/// text and children in order.
std::string difference(const pugi::xml_node& a, const pugi::xml_node& b, const std::string& where) {
    std::string here = where + "/" + a.name();
    if (a.type() != b.type() || std::string_view(a.name()) != b.name()) return here + ": " + b.name() + " instead";
    if (std::string_view(a.value()) != b.value()) return here + ": text \"" + b.value() + "\" instead";
    std::map<std::string, std::string> left, right;
    for (pugi::xml_attribute attribute : a.attributes()) left[attribute.name()] = attribute.value();
    for (pugi::xml_attribute attribute : b.attributes()) right[attribute.name()] = attribute.value();
    if (left != right) return here + ": other attributes";
    pugi::xml_node x = a.first_child(), y = b.first_child();
    for (int n = 0; x || y; x = x.next_sibling(), y = y.next_sibling(), ++n) {
        if (!x || !y) return here + ": another number of children";
        std::string found = difference(x, y, here + "[" + std::to_string(n) + "]");
        if (!found.empty()) return found;
    }
    return {};
}

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

/// The file as rsvg-convert draws it; nothing when it can't.
std::optional<Picture> render(const fs::path& svg) {
    fs::path png = svg;
    png.replace_extension(".png");
    std::string command = "rsvg-convert -b white -o '" + png.string() + "' '" + svg.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_from_png(png.c_str()), cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    Picture picture{cairo_image_surface_get_width(surface.get()), cairo_image_surface_get_height(surface.get()), {}};
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x]);
    return picture;
}

double distanceToSegment(double x, double y, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay;
    double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

class SvgRoundTrip : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("orvane-round-trip-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    /// Every file of both corpora.
    static std::vector<fs::path> corpus() {
        std::vector<fs::path> files;
        for (const char* dir : {ORVANE_SVG_DATA_DIR, ORVANE_SVG_KEPT_DIR})
            for (const fs::directory_entry& entry : fs::directory_iterator(dir))
                if (entry.path().extension() == ".svg") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path folder;
};

TEST_F(SvgRoundTrip, AFileSavedWithNoEditIsTheSameXmlAndTheSamePicture) {
    std::vector<fs::path> files = corpus();
    ASSERT_GE(files.size(), 150u + 35u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        host::Document document;
        host::placeDrawing(document, host::importSvg(file));
        fs::path saved = folder / file.filename();
        host::saveSvg(document, saved);
        pugi::xml_document original, again;
        ASSERT_TRUE(original.load_file(file.c_str(), kCompared));
        ASSERT_TRUE(again.load_file(saved.c_str(), kCompared));
        EXPECT_EQ(difference(original, again, ""), "");

        fs::path copy = folder / ("original-" + file.filename().string());
        fs::copy_file(file, copy);
        std::optional<Picture> before = render(copy), after = render(saved);
        ASSERT_EQ(before.has_value(), after.has_value());
        if (!before) continue;
        EXPECT_EQ(before->width, after->width);
        EXPECT_EQ(before->height, after->height);
        EXPECT_TRUE(before->pixels == after->pixels) << "the pictures differ";
    }
}

TEST_F(SvgRoundTrip, ANewPolylineIsOneMorePathAndTheOnlyChangeToThePicture) {
    for (const fs::path& file : corpus()) {
        SCOPED_TRACE(file.filename().string());
        host::Document document;
        host::SvgDrawing drawing = host::importSvg(file);
        // A root of zero size draws nothing, the new line included.
        bool drawsNothing = std::any_of(drawing.warnings.begin(), drawing.warnings.end(), [](const auto& warning) {
            return warning.reason.find("nothing is drawn") != std::string::npos;
        });
        host::placeDrawing(document, std::move(drawing));
        const host::PageBox& page = document.page();
        bool onPage = !page.empty();
        host::PageBox box = onPage ? page : host::PageBox{0, 0, 100, 100};
        // A zigzag across the middle of the page, in artwork points.
        std::vector<std::pair<double, double>> points = {{box.left + box.width * 0.2, box.top - box.height * 0.3},
                                                         {box.left + box.width * 0.5, box.top - box.height * 0.7},
                                                         {box.left + box.width * 0.8, box.top - box.height * 0.3}};
        host::PathShape line;
        for (auto [h, v] : points) {
            AIRealPoint at{static_cast<AIReal>(h), static_cast<AIReal>(v)};
            line.segments.push_back({at, at, at, true});
        }
        // A person draws in a layer that takes art: the file's current one, else the topmost shown and unlocked.
        for (std::size_t n = 0; n < document.layerCount() && document.refusalOf(document.currentLayer()); ++n)
            if (!document.refusalOf(document.layerAt(n))) document.setCurrentLayer(document.layerAt(n));
        if (document.refusalOf(document.currentLayer())) continue;
        document.addPath(line);
        fs::path saved = folder / file.filename();
        host::saveSvg(document, saved);

        // The file's XML with one more element: a path, whose removal gives the original.
        pugi::xml_document original, again;
        ASSERT_TRUE(original.load_file(file.c_str(), kCompared));
        ASSERT_TRUE(again.load_file(saved.c_str(), kCompared));
        pugi::xpath_node_set paths = again.select_nodes("//*[local-name()='path']");
        ASSERT_GT(paths.size(), 0u);
        pugi::xml_node added = paths[paths.size() - 1].node();
        for (const pugi::xpath_node& path : paths)
            if (std::string_view(path.node().attribute("style").value()).starts_with("fill:none;stroke:#000000"))
                added = path.node();
        added.parent().remove_child(added);
        EXPECT_EQ(difference(original, again, ""), "");

        // Reopened, the line is where it was drawn.
        host::Document reopened;
        host::placeDrawing(reopened, host::importSvg(saved));
        EXPECT_EQ(reopened.artCount(), drawsNothing ? 0u : document.artCount());

        // The picture changes only along the line.
        fs::path copy = folder / ("original-" + file.filename().string());
        fs::copy_file(file, copy);
        std::optional<Picture> before = render(copy), after = render(saved);
        ASSERT_EQ(before.has_value(), after.has_value());
        if (!before || !onPage) continue;
        ASSERT_EQ(before->width, after->width);
        if (std::fabs(before->width - page.width * kPixelsPerPoint) > 1) continue;  // not drawn at the page's size
        std::size_t changed = 0, astray = 0;
        for (int y = 0; y < before->height; ++y) {
            for (int x = 0; x < before->width; ++x) {
                std::size_t at = static_cast<std::size_t>(y) * before->width + x;
                if (before->pixels[at] == after->pixels[at]) continue;
                ++changed;
                double near = std::numeric_limits<double>::infinity();
                for (std::size_t i = 1; i < points.size(); ++i) {
                    auto pixel = [&](std::pair<double, double> p) {
                        return std::pair{(p.first - page.left) * kPixelsPerPoint,
                                         (page.top - p.second) * kPixelsPerPoint};
                    };
                    auto [ax, ay] = pixel(points[i - 1]);
                    auto [bx, by] = pixel(points[i]);
                    near = std::min(near, distanceToSegment(x + 0.5, y + 0.5, ax, ay, bx, by));
                }
                if (near > kLineReach) ++astray;
            }
        }
        EXPECT_EQ(astray, 0u) << "of " << changed << " pixels changed";
        // Unless its layer is hidden, or the renderer draws none of the file (as for a viewBox it can't read).
        bool hidden = document.findLayer(document.currentLayer())->hidden;
        bool blank = std::all_of(before->pixels.begin(), before->pixels.end(),
                                 [&](std::uint32_t pixel) { return pixel == before->pixels.front(); });
        if (!hidden && !blank) {
            EXPECT_GT(changed, 0u) << "the line is not seen";
        }
    }
}

}  // namespace
