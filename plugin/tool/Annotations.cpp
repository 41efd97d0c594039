#include "Annotations.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "ASMemory.h"
#include "IAIUnicodeString.h"
#include "IThrowException.h"
#include "LabelBox.h"
#include "NumberText.h"
#include "OrvaneSuites.h"
#include "PlaneGeometry.h"
#include "Settings.h"
#include "Units.h"

namespace {

constexpr const char* kGuideRedKey = "snapomatic/Color/red";
constexpr const char* kGuideGreenKey = "snapomatic/Color/green";
constexpr const char* kGuideBlueKey = "snapomatic/Color/blue";
constexpr AIReal kColourScale = 65535.0f;

constexpr AIReal kLineWidth = 1.0f;
constexpr AIReal kMarkerWidth = 2.0f;
constexpr AIReal kOutlineWidth = 2.0f;
constexpr ASInt16 kMarkerHalfSize = 3;

constexpr AIRGBColor kWhite = {65535, 65535, 65535};
constexpr AIRGBColor kBlack = {0, 0, 0};
/// The degree sign of the platform encoding (Mac OS Roman).
constexpr const char* kDegreeSign = "\xA1";
/// A number written with none of these reads as zero.
constexpr const char* kNonZeroDigits = "123456789";

/// Size of a label's text, NUL included.
constexpr std::size_t kLabelSize = 60;
// The length box sits 6 pixels above the middle of the rubber band, its text one more;
// the angle box 12 below (8 with the small size), its text one less.
constexpr AIReal kLengthBoxLift = 6.0f;
constexpr AIReal kLengthTextLift = 7.0f;
constexpr AIReal kAngleBoxDrop = 12.0f;
constexpr AIReal kAngleTextDrop = 11.0f;

// The typed length's field sits below and to the right of the cursor, clear of its hot spot.
constexpr int kTypedFieldOffset = 14;
/// Pixels between the length field and the angle field below it.
constexpr int kTypedFieldGap = 2;
/// The side of the square that marks a locked field.
constexpr int kLockMarkSize = 6;
/// The outline of a typed length that can't be read.
constexpr AIRGBColor kRed = {65535, 0, 0};
/// The unit of a plain typed number, shown after it.
constexpr const char* kLabelUnit = " mm";

constexpr const char* kCloseHint = "Click to create the polygon.";
constexpr const char* kFinishHint = "Click to finish.";
// The hints go 12 pixels below their anchor, moved left by about half their width.
constexpr int kHintDrop = 12;
constexpr int kCloseHintShift = 70;
constexpr int kFinishHintShift = 40;

/// What the label size selects: the font preset, the margin around the texts,
/// how much higher the angle box goes, and the extra lift of the length text.
struct TextSize {
    bool chosen = false;
    ASInt32 preset = kAIAFSmall;
    double margin = 0.0;
    AIReal angleLift = 0.0f;
    ASInt16 lengthTextLift = 0;
};

TextSize ChosenTextSize(ASInt32 size) {
    switch (size) {
        case 0:
            return {true, kAIAFSmall, 2.0, 4.0f, 0};
        case 1:
            return {true, kAIAFMedium, 4.0, 0.0f, 0};
        case 2:
            return {true, kAIAFLarge, 4.0, 0.0f, 1};
        default:
            return {};
    }
}

AIPoint ViewPoint(AIAnnotatorMessage* message, AIRealPoint point, ASErr& error) {
    AIPoint pixel = {0, 0};
    error = sAIDocumentView->ArtworkPointToViewPoint(message->view, &point, &pixel);
    return pixel;
}

AIPoint ViewPoint(AIAnnotatorMessage* message, AIRealPoint point) {
    ASErr ignored = kNoErr;
    return ViewPoint(message, point, ignored);
}

/// A pixel moved by delta, kept within 16 bits.
ASInt16 Shifted(ASInt16 pixel, int delta) {
    return static_cast<ASInt16>(std::clamp(pixel + delta, int{INT16_MIN}, int{INT16_MAX}));
}

/// Appends text to the area of the given size, cutting what does not fit.
void Append(char* area, std::size_t size, const char* text) {
    const std::size_t length = std::strlen(area);
    if (length + 1 >= size) return;
    std::strncat(area, text, size - length - 1);
}

/// Half the text's height and width plus the margin, in single precision.
void HalfSizes(AIAnnotatorMessage* message, const ai::UnicodeString& text, double margin, AIReal& halfHeight,
               AIReal& halfWidth) {
    AIRect bounds = {0, 0, 0, 0};
    sAIAnnotatorDrawer->GetTextBounds(message->drawer, text.GetHandle(), nullptr, &bounds);
    halfHeight = static_cast<AIReal>(margin + 0.5 * (bounds.bottom - bounds.top));
    halfWidth = static_cast<AIReal>(margin + 0.5 * (bounds.right - bounds.left));
}

/// A guide, dashed, from the cursor level with or plumb with its anchor to the anchor.
void DrawGuide(AIAnnotatorMessage* message, AIRealPoint cursor, const Guide& guide, AIReal AIRealPoint::*axis) {
    AIAnnotatorDrawer* drawer = message->drawer;
    sAIAnnotatorDrawer->SetLineDashed(drawer, true);
    if (guide.found) {
        AIRealPoint start = cursor;
        start.*axis = guide.anchor.*axis;
        sAIAnnotatorDrawer->DrawLine(drawer, ViewPoint(message, start), ViewPoint(message, guide.anchor));
    }
    sAIAnnotatorDrawer->SetLineDashed(drawer, false);
}

AIRGBColor GuideColour() {
    AIRGBColor colour = {0, 0, 0};
    ASUInt16* components[] = {&colour.red, &colour.green, &colour.blue};
    const char* keys[] = {kGuideRedKey, kGuideGreenKey, kGuideBlueKey};
    for (int i = 0; i < 3; ++i) {
        double value = 0.0;
        if (sAIPreference->GetRealPreference(nullptr, keys[i], &value) != kNoErr) value = 0.0;
        *components[i] = GuideColourComponent(value);
    }
    return colour;
}

/// The hint at the position, then the outline of the hovered path, which a click would close or finish.
ASErr DrawHint(AIAnnotatorMessage* message, const char* hint, AIPoint position, AIRGBColor colour, AIArtHandle path) {
    try {
        const ai::UnicodeString text(hint);
        sAIAnnotatorDrawer->DrawText(message->drawer, text.GetHandle(), position);
    } catch (const ai::Error&) {
        // Without its text the hint still outlines the path a click acts on.
    }
    return DrawPathOutline(message, colour, kOutlineWidth, path);
}

/// A block of the host's memory, given back when it goes.
class HostBlock {
public:
    explicit HostBlock(std::size_t size) : block_(ASMemory::Allocate(size)) {}
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;
    ~HostBlock() { ASMemory::Free(block_); }
    void* get() const { return block_; }

private:
    void* block_;
};

}  // namespace

ASUInt16 GuideColourComponent(double value) {
    // The single-precision product must stay within 32 bits for its truncation to mean anything.
    constexpr double kLimit = 2147483520.0;  // the largest float below 2^31
    if (!(std::fabs(value) * kColourScale <= kLimit)) return 0;
    const AIReal product = static_cast<AIReal>(value) * kColourScale;
    if (!(std::fabs(product) <= static_cast<AIReal>(kLimit))) return 0;
    return static_cast<ASUInt16>(static_cast<ASInt32>(product));
}

ASErr Annotate(AIAnnotatorMessage* message, const PolylineTool& tool, const Settings& settings,
               bool panelGivesSegment) {
    AIAnnotatorDrawer* drawer = message->drawer;
    // Each step goes on whatever the one before returned; the pass answers the last step's result.
    sAIAnnotatorDrawer->SetLineWidth(drawer, kLineWidth);
    sAIAnnotatorDrawer->SetLineDashed(drawer, false);

    AILayerHandle layer = nullptr;
    AIRGBColor layerColour = {0, 0, 0};
    sAILayer->GetCurrentLayer(&layer);
    sAILayer->GetLayerColor(layer, &layerColour);

    sAIAnnotatorDrawer->SetColor(drawer, GuideColour());
    sAIAnnotatorDrawer->SetFontPreset(drawer, kAIAFSmall);

    const ToolState state = tool.currentState();
    if (!panelGivesSegment) DrawGuides(message, state.cursor, state.guides);
    if (state.hover.is(Hover::Kind::OpenEnd)) DrawPathOutline(message, layerColour, kOutlineWidth, state.hover.path);
    ASErr error = DrawClosingHint(message, state, layerColour);
    if (state.pointsPlaced > 0) {
        DrawRubberBand(message, state);
        error = DrawLengthLabel(message, state, settings);
        if (state.typed.active()) error = DrawTypedEntry(message, state, settings);
    }
    return error;
}

ASErr DrawPointMarker(AIAnnotatorMessage* message, AIRealPoint point) {
    AIAnnotatorDrawer* drawer = message->drawer;
    sAIAnnotatorDrawer->SetLineWidth(drawer, kMarkerWidth);
    ASErr error = kNoErr;
    const AIPoint centre = ViewPoint(message, point, error);
    const AIRect frame = {Shifted(centre.v, -kMarkerHalfSize), Shifted(centre.h, -kMarkerHalfSize),
                          Shifted(centre.v, kMarkerHalfSize), Shifted(centre.h, kMarkerHalfSize)};
    sAIAnnotatorDrawer->DrawEllipse(drawer, frame, false);
    sAIAnnotatorDrawer->SetLineWidth(drawer, kLineWidth);
    return error;
}

ASErr DrawRubberBand(AIAnnotatorMessage* message, const ToolState& state) {
    AIAnnotatorDrawer* drawer = message->drawer;
    sAIAnnotatorDrawer->SetLineDashed(drawer, true);
    const ASErr error =
        sAIAnnotatorDrawer->DrawLine(drawer, ViewPoint(message, state.lastPoint), ViewPoint(message, state.segmentEnd));
    sAIAnnotatorDrawer->SetLineDashed(drawer, false);
    return error;
}

void DrawGuides(AIAnnotatorMessage* message, AIRealPoint cursor, const Guides& guides) {
    DrawGuide(message, cursor, guides.horizontal, &AIRealPoint::v);
    DrawGuide(message, cursor, guides.vertical, &AIRealPoint::h);
}

ASErr DrawLengthLabel(AIAnnotatorMessage* message, const ToolState& state, const Settings& settings) {
    if (state.control || state.hover.is(Hover::Kind::LastSegment)) return kNoErr;
    AIAnnotatorDrawer* drawer = message->drawer;
    ASErr error = kNoErr;
    try {
        const AIRealPoint middle = {0.5f * (state.lastPoint.h + state.segmentEnd.h),
                                    0.5f * (state.lastPoint.v + state.segmentEnd.v)};
        const AIPoint pixel = ViewPoint(message, middle);
        const AIReal ph = pixel.h;
        const AIReal pv = pixel.v;

        const TextSize size = ChosenTextSize(settings.labelSize);
        if (size.chosen) sAIAnnotatorDrawer->SetFontPreset(drawer, size.preset);
        const auto precision = static_cast<signed char>(settings.precision);

        char number[kNumberTextSize];
        char label[kLabelSize] = "L=";
        const auto length = static_cast<float>(units::kMillimetresPerPoint * (state.segmentLength * settings.scale()));
        FormatNumber(length, precision, settings.decimalSeparator, number);
        Append(number, sizeof number, " mm");
        Append(label, sizeof label, number);
        const ai::UnicodeString lengthText(label);

        AIReal halfHeight = 0.0f;
        AIReal halfWidth = 0.0f;
        HalfSizes(message, lengthText, size.margin, halfHeight, halfWidth);
        const AIReal left = ph - halfWidth;

        const AIRect lengthBox =
            LabelBox(TruncatedPixel(pv + halfHeight - kLengthBoxLift), halfHeight, left, halfWidth);
        sAIAnnotatorDrawer->SetColor(drawer, kWhite);
        sAIAnnotatorDrawer->DrawRect(drawer, lengthBox, true);
        sAIAnnotatorDrawer->SetColor(drawer, kBlack);
        sAIAnnotatorDrawer->DrawRect(drawer, lengthBox, false);

        ASInt16 textTop = TruncatedPixel(pv + halfHeight - kLengthTextLift);
        textTop = Shifted(textTop, -size.lengthTextLift);
        error =
            sAIAnnotatorDrawer->DrawTextAligned(drawer, lengthText.GetHandle(), kAIATextAlignCenter,
                                                kAIATextAlignCenter, LabelBox(textTop, halfHeight, left, halfWidth));

        std::strcpy(label, "a=");
        const AIReal angle = sMath->AIRadianToDegree(state.shownAngle);
        FormatNumber(std::fabs(angle), precision, settings.decimalSeparator, number);
        // An angle that reads as zero has no side to turn to.
        if (angle < 0.0f && std::strpbrk(number, kNonZeroDigits)) Append(label, sizeof label, "-");
        Append(number, sizeof number, kDegreeSign);
        Append(label, sizeof label, number);
        const ai::UnicodeString angleText(label);

        // The angle box keeps the length box's width.
        AIReal angleHalfWidth = 0.0f;
        HalfSizes(message, angleText, size.margin, halfHeight, angleHalfWidth);

        const AIRect angleBox =
            LabelBox(TruncatedPixel(pv + halfHeight + kAngleBoxDrop - size.angleLift), halfHeight, left, halfWidth);
        sAIAnnotatorDrawer->SetColor(drawer, kBlack);
        sAIAnnotatorDrawer->DrawRect(drawer, angleBox, true);
        sAIAnnotatorDrawer->DrawRect(drawer, angleBox, false);
        sAIAnnotatorDrawer->SetColor(drawer, kWhite);

        const AIRect angleTextBox =
            LabelBox(TruncatedPixel(pv + halfHeight + kAngleTextDrop - size.angleLift), halfHeight, left, halfWidth);
        error = sAIAnnotatorDrawer->DrawTextAligned(drawer, angleText.GetHandle(), kAIATextAlignCenter,
                                                    kAIATextAlignCenter, angleTextBox);
    } catch (const ai::Error& failure) {
        error = failure;
    }
    return error;
}

namespace {

/// One field of the typed entry: its text in a white box whose top left is at left, top (view
/// pixels), outlined in red while unreadable, with a black square before it while locked.
/// Answers the box's bottom.
ASInt16 DrawTypedField(AIAnnotatorMessage* message, const char* text, double margin, ASInt16 left, ASInt16 top,
                       bool unreadable, bool locked, ASErr& error) {
    AIAnnotatorDrawer* drawer = message->drawer;
    const ai::UnicodeString shown(text);
    AIReal halfHeight = 0.0f;
    AIReal halfWidth = 0.0f;
    HalfSizes(message, shown, margin, halfHeight, halfWidth);
    const AIRect box = LabelBox(TruncatedPixel(top + 2 * halfHeight), halfHeight, left, halfWidth);
    sAIAnnotatorDrawer->SetColor(drawer, kWhite);
    sAIAnnotatorDrawer->DrawRect(drawer, box, true);
    sAIAnnotatorDrawer->SetColor(drawer, unreadable ? kRed : kBlack);
    sAIAnnotatorDrawer->DrawRect(drawer, box, false);
    sAIAnnotatorDrawer->SetColor(drawer, kBlack);
    if (locked) {
        const AIRect mark = {box.top, Shifted(box.left, -kLockMarkSize), Shifted(box.top, kLockMarkSize), box.left};
        sAIAnnotatorDrawer->DrawRect(drawer, mark, true);
    }
    error =
        sAIAnnotatorDrawer->DrawTextAligned(drawer, shown.GetHandle(), kAIATextAlignCenter, kAIATextAlignCenter, box);
    return box.bottom;
}

}  // namespace

ASErr DrawTypedEntry(AIAnnotatorMessage* message, const ToolState& state, const Settings& settings) {
    const TypedEntry& typed = state.typed;
    ASErr error = kNoErr;
    try {
        const TextSize size = ChosenTextSize(settings.labelSize);
        if (size.chosen) sAIAnnotatorDrawer->SetFontPreset(message->drawer, size.preset);
        const AIPoint cursor = ViewPoint(message, state.cursor);
        const ASInt16 left = Shifted(cursor.h, kTypedFieldOffset);
        ASInt16 top = Shifted(cursor.v, kTypedFieldOffset);
        const bool onLength = typed.field == TypedEntry::Field::Length;

        if (onLength || typed.length[0] != '\0') {
            char label[kLabelSize] = "";
            Append(label, sizeof label, typed.length);
            // A typed unit shows itself; a plain number is in the labels' millimetres.
            const std::size_t length = std::strlen(label);
            if (length == 0 || !std::isalpha(static_cast<unsigned char>(label[length - 1])))
                Append(label, sizeof label, kLabelUnit);
            top =
                DrawTypedField(message, label, size.margin, left, top, onLength && typed.unreadable, !onLength, error);
        }
        if (!onLength || typed.angle[0] != '\0' || typed.directionLocked) {
            char label[kLabelSize] = "";
            if (typed.angle[0] != '\0' || !typed.directionLocked) {
                Append(label, sizeof label, typed.angle);
            } else {
                FormatNumber(sMath->AIRadianToDegree(typed.lockedShownAngle),
                             static_cast<signed char>(settings.precision), settings.decimalSeparator, label);
            }
            Append(label, sizeof label, kDegreeSign);
            const bool angleLocked = typed.directionLocked || (onLength && typed.angle[0] != '\0');
            DrawTypedField(message, label, size.margin, left, Shifted(top, kTypedFieldGap),
                           !onLength && typed.unreadable, angleLocked, error);
        }
    } catch (const ai::Error& failure) {
        error = failure;
    }
    return error;
}

ASErr DrawClosingHint(AIAnnotatorMessage* message, const ToolState& state, AIRGBColor layerColour) {
    const Hover& hover = state.hover;
    if (!hover.is(Hover::Kind::Anchor)) return kNoErr;
    ASErr error = DrawPointMarker(message, hover.point);
    AIPoint position = ViewPoint(message, hover.hintPosition, error);
    position.v = Shifted(position.v, kHintDrop);
    const auto tolerance = static_cast<AIReal>(kSnapTolerance);
    AIRealPoint anchor = hover.point;
    AIRealPoint origin = state.origin;
    AIRealPoint lastPoint = state.lastPoint;
    if (state.pointsPlaced > 2 && sMath->AIRealPointClose(&anchor, &origin, tolerance)) {
        position.h = Shifted(position.h, -kCloseHintShift);
        error = DrawHint(message, kCloseHint, position, layerColour, hover.path);
    } else if (state.pointsPlaced > 1 && sMath->AIRealPointClose(&anchor, &lastPoint, tolerance)) {
        position.h = Shifted(position.h, -kFinishHintShift);
        error = DrawHint(message, kFinishHint, position, layerColour, hover.path);
    }
    return error;
}

ASErr DrawPathOutline(AIAnnotatorMessage* message, AIRGBColor colour, AIReal width, AIArtHandle path) {
    AIAnnotatorDrawer* drawer = message->drawer;
    ASInt16 count = 0;
    AIBoolean closed = false;
    sAIPath->GetPathSegmentCount(path, &count);
    sAIPath->GetPathClosed(path, &closed);
    sAIAnnotatorDrawer->SetLineWidth(drawer, width);
    ASErr error = sAIAnnotatorDrawer->SetColor(drawer, colour);
    // Without an anchor there is neither a start nor a piece.
    if (count < 1) return error;

    HostBlock block(static_cast<std::size_t>(count) * sizeof(AIAnnotatorBezierPiece));
    auto* pieces = static_cast<AIAnnotatorBezierPiece*>(block.get());
    if (!pieces) return kOutOfMemoryErr;

    AIPathSegment first = {};
    sAIPath->GetPathSegments(path, 0, 1, &first);
    const AIPoint start = ViewPoint(message, first.p);
    AIPathSegment a = first;
    for (ASInt16 i = 0; i + 1 < count; ++i) {
        AIPathSegment b = {};
        sAIPath->GetPathSegments(path, static_cast<ASInt16>(i + 1), 1, &b);
        pieces[i] = {ViewPoint(message, a.out), ViewPoint(message, b.in), ViewPoint(message, b.p)};
        a = b;
    }
    ASInt32 pieceCount = count - 1;
    if (closed) {
        pieces[count - 1] = {ViewPoint(message, a.out), ViewPoint(message, first.in), ViewPoint(message, first.p)};
        pieceCount = count;
    }
    return sAIAnnotatorDrawer->DrawBeziers(drawer, start, pieces, pieceCount, false);
}
