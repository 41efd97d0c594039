// What keeps a person's drawing whole: each file opens as a document of its own, no new art goes
// where it can't be seen or reached, and a save keeps the file as private as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/Host.h"
#include "host/document/Svg.h"
#include "host/platform/AtomicFile.h"

namespace {

namespace fs = std::filesystem;

class DocumentSafety : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("orvane-document-safety-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path write(const std::string& name, const std::string& text) {
        fs::path file = folder / name;
        std::ofstream(file) << text;
        return file;
    }

    std::vector<std::string> layerNames() const {
        std::vector<std::string> names;
        for (std::size_t n = 0; n < host.document().layerCount(); ++n)
            names.push_back(host.document().findLayer(host.document().layerAt(n))->name);
        return names;
    }

    fs::path folder;
    host::Host host{{"/nonexistent-plugins", std::nullopt, [](const std::string&) {}}};
};

constexpr const char* kLayeredFile = R"(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
    xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="100" height="100">
  <sodipodi:namedview inkscape:current-layer="background"/>
  <g id="background" inkscape:groupmode="layer" inkscape:label="Background" sodipodi:insensitive="true">
    <path d="M 0 0 L 10 0"/>
  </g>
  <g id="notes" inkscape:groupmode="layer" inkscape:label="Notes"><path d="M 0 5 L 10 5"/></g>
</svg>)";

constexpr const char* kPlainFile =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100"><path d="M 1 1 L 2 2"/></svg>)";

TEST_F(DocumentSafety, OpeningAFileStartsADocumentOfItsOwn) {
    host.document().addSvgPath("M 0 0 L 50 50");
    host.document().addSvgPath("M 0 0 L 60 60");
    ASSERT_TRUE(host.canUndo());

    host.openSvg(write("layered.svg", kLayeredFile));
    EXPECT_EQ(layerNames(), (std::vector<std::string>{"Notes", "Background"}));
    EXPECT_EQ(host.document().findLayer(host.document().currentLayer())->name, "Background");
    EXPECT_EQ(host.document().artCount(), 2u);
    EXPECT_FALSE(host.canUndo()) << "undo must not bring back the former file's art";

    // The next file has no layers: none of the first one's stay, locked or not, and its art is in a
    // layer a person can draw in.
    host.openSvg(write("plain.svg", kPlainFile));
    EXPECT_EQ(layerNames(), (std::vector<std::string>{host::Document::kFirstLayerName}));
    const host::Document::Layer* only = host.document().findLayer(host.document().currentLayer());
    EXPECT_FALSE(only->locked || only->hidden);
    EXPECT_EQ(only->art.size(), 1u);
    EXPECT_FALSE(host.undo());

    // Art drawn since is undone up to the opening, never beyond.
    host.edit([](host::Document& document) { document.addSvgPath("M 5 5 L 9 9"); });
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(host.document().artCount(), 1u);
    EXPECT_FALSE(host.undo());
}

TEST_F(DocumentSafety, ANewDocumentKeepsNothingOfTheFormer) {
    host.openSvg(write("layered.svg", kLayeredFile));
    AILayerHandle former = host.document().currentLayer();
    host.newDocument();
    EXPECT_EQ(layerNames(), (std::vector<std::string>{host::Document::kFirstLayerName}));
    EXPECT_EQ(host.document().artCount(), 0u);
    EXPECT_FALSE(host.canUndo());
    EXPECT_TRUE(host.document().page().empty());
    EXPECT_EQ(host.document().findLayer(former), nullptr) << "a handle of the former document finds nothing";
    // The history follows the new document from here on.
    host.edit([](host::Document& document) { document.addSvgPath("M 5 5 L 9 9"); });
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(host.document().artCount(), 0u);
}

TEST_F(DocumentSafety, ALockedOrHiddenLayerRefusesNewArtWithABeepAndItsName) {
    const void* table = nullptr;
    ASSERT_EQ(host.suites().acquire(kAIArtSuite, kAIArtSuiteVersion, &table), kNoErr);
    const auto* art = static_cast<const AIArtSuite*>(table);
    host::Document& document = host.document();
    AILayerHandle layer = document.currentLayer();
    document.setLayerName(layer, "Background");

    for (bool locked : {true, false}) {
        SCOPED_TRACE(locked ? "locked" : "hidden");
        (locked ? document.setLayerLocked(layer, true) : document.setLayerHidden(layer, true));
        int beeps = host.basic().beeps();
        AIArtHandle made = reinterpret_cast<AIArtHandle>(1);
        EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), host::kLayerRefusesArtErr);
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(document.artCount(), 0u);
        EXPECT_EQ(host.basic().beeps(), beeps + 1);
        std::optional<std::string> why = host.takeRefusal();
        ASSERT_TRUE(why);
        EXPECT_NE(why->find("\"Background\""), std::string::npos) << *why;
        EXPECT_NE(why->find(locked ? "locked" : "hidden"), std::string::npos) << *why;
        EXPECT_FALSE(host.takeRefusal()) << "told once";
        // The host's own means refuse it too.
        EXPECT_THROW(document.addSvgPath("M 0 0 L 1 1"), std::invalid_argument);
        EXPECT_TRUE(host.takeRefusal());
        (locked ? document.setLayerLocked(layer, false) : document.setLayerHidden(layer, false));
    }
    // Shown and unlocked, the layer takes art again; another layer's state is no matter.
    document.setLayerLocked(document.addLayer("Frame"), true);
    AIArtHandle made = nullptr;
    EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), kNoErr);
    EXPECT_NE(made, nullptr);
    EXPECT_FALSE(host.takeRefusal());
    host.suites().release(kAIArtSuite, kAIArtSuiteVersion);
}

TEST_F(DocumentSafety, ASaveKeepsTheFilesPermissions) {
    fs::path file = write("private.svg", "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    host::detail::writeAtomically(file, "new", "the drawing");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    std::ifstream in(file);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "new");
}

}  // namespace
