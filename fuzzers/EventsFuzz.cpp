// Random sessions against the real module. The input is decoded by the random-session
// driver into a person's actions at the host — start, tool choice, movements and clicks
// with any modifiers near the art, typing into the panel, menu choices, dialog actions,
// art deleted, locked or drawn, undo and redo, unload and reload, quit — each played
// through the host into PluginMain. After every action the fuzzer checks what must
// always hold:
//   - every coordinate in the document is a finite number;
//   - while a polyline is under way and its path is alive, the path has as many
//     anchors as the tool counts;
//   - a handle the document gave out and then disposed of never finds art again;
// and at the end, once the host quit, every suite acquired has been released
// and every block the plug-in allocated has been freed.
// The host refusing an action (HostError, std::invalid_argument) is a normal
// outcome; any other exception, a crash or a sanitizer report is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <string>

#include "ModuleImage.h"
#include "OrvanePlugIn.h"
#include "RandomSession.h"
#include "host/Host.h"

namespace {

constexpr const char* kModule = ORVANE_PLUGINS_DIR "/Orvane.aip/Orvane.so";
constexpr int kMaxEvents = 300;

// Art the document starts with: a triangle, two crossing lines, a circle, an open curve.
constexpr const char* kStartingArt[] = {
    "M0 0 L200 0 L100 150 Z",
    "M-100 -50 L300 200",
    "M-100 200 L300 -50",
    "M400 0 A80 80 0 1 0 560 0 A80 80 0 1 0 400 0",
    "M0 300 C50 350 150 250 200 300",
};

/// Every action as often as any other, half the input odd, the cursor over the starting art and around it.
random_session::Profile everythingProfile() {
    random_session::Profile profile;
    profile.weights.fill(1);
    profile.oddInput = 0.5;
    profile.plainKeys = 1.0 / 8;
    profile.area = {-200, -200, 700, 500};
    return profile;
}

/// Choices from the fuzzer's input.
class FuzzedChoices : public random_session::ChoiceSource {
public:
    explicit FuzzedChoices(FuzzedDataProvider& data) : data_(data) {}
    long between(long low, long high) override { return data_.ConsumeIntegralInRange<long>(low, high); }
    double unit() override {
        // Below 1, as the driver's shares need: the provider's probability may be 1 itself.
        double p = data_.ConsumeProbability<double>();
        return p < 1 ? p : 0;
    }
    float anyFloat() override { return data_.ConsumeFloatingPoint<float>(); }
    std::string anyText(std::size_t maxLength) override { return data_.ConsumeRandomLengthString(maxLength); }

private:
    FuzzedDataProvider& data_;
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::abort();
}

fuzz::ModuleImage& module() {
    static fuzz::ModuleImage image(kModule);
    return image;
}

class Player {
public:
    explicit Player(FuzzedDataProvider& data)
        : data_(data),
          host_(host::Host::Options{ORVANE_PLUGINS_DIR, std::nullopt, [](const std::string&) {}}),
          choices_(data),
          driver_(host_, choices_, everythingProfile()) {
        for (const char* art : kStartingArt) host_.document().addSvgPath(art);
        observer_ = host_.document().addObserver([this](AIArtHandle art, host::Document::Change change) {
            if (disposed_.count(art)) fail("disposed art was changed again");
            if (change == host::Document::Change::removed) disposed_.insert(art);
        });
        host_.setModalEventSource([this] {
            if (!more()) return false;
            ++events_;
            driver_.playInsideModal();
            check("an action inside a modal run");
            return true;
        });
    }

    ~Player() { host_.document().removeObserver(observer_); }

    void play() {
        while (!driver_.quit() && more()) {
            ++events_;
            driver_.playOne();
            check("an action");
        }
        if (host_.started() && !driver_.quit()) {
            try {
                host_.quit();
            } catch (const host::HostError&) {
            } catch (const std::invalid_argument&) {
            }
        }
        check("the end");
        if (!host_.started()) {
            if (host_.suites().outstandingTotal() != 0)
                fail(std::to_string(host_.suites().outstandingTotal()) + " suites still acquired after quitting");
            if (host_.memory().liveBlocks() != 0)
                fail(std::to_string(host_.memory().liveBlocks()) + " blocks still allocated after quitting");
        }
    }

private:
    bool more() const { return events_ < kMaxEvents && data_.remaining_bytes() > 0; }

    /// The tool of the running plug-in object, which the host keeps in the module's globals
    /// slot from start-up to shutdown; null while there is none. The fuzzer's folder holds
    /// this one module, built with the same compiler and headers as the fuzzer.
    const PolylineTool* polylineTool() {
        for (std::size_t i = 0; i < host_.plugins().count(); ++i)
            if (void* globals = host_.plugins().bundle(i).globals())
                return &static_cast<const OrvanePlugIn*>(static_cast<Plugin*>(globals))->tool();
        return nullptr;
    }

    void check(const char* after) {
        const host::Document& document = host_.document();
        document.forEachArt([&](AIArtHandle, const host::Document::Art& art) {
            for (const AIPathSegment& segment : art.shape.segments)
                if (!host::isFinite(segment)) fail(std::string("a coordinate is not finite after ") + after);
        });
        if (const PolylineTool* tool = polylineTool(); tool && tool->pointsPlaced() >= 2) {
            if (const host::Document::Art* art = document.findArt(tool->path());
                art && art->shape.segments.size() != static_cast<std::size_t>(tool->pointsPlaced()))
                fail("the polyline's path has " + std::to_string(art->shape.segments.size()) +
                     " anchors where the tool counts " + std::to_string(tool->pointsPlaced()) + " after " + after);
        }
        for (AIArtHandle art : disposed_)
            if (document.findArt(art)) fail(std::string("a disposed handle finds art after ") + after);
    }

    FuzzedDataProvider& data_;
    host::Host host_;
    FuzzedChoices choices_;
    random_session::Driver driver_;
    int observer_ = 0;
    std::set<AIArtHandle> disposed_;
    int events_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Loaded before any input, so that the data it keeps is the module's as loaded.
    module();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    module().restore();
    FuzzedDataProvider data(bytes, size);
    Player(data).play();
    return 0;
}
