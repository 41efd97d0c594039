// What the dialog manager hands to procedures: notifiers, trackers and drawers.
// Each lives for one call of a procedure; its handle is dead afterwards.
#include <algorithm>
#include <cstring>

#include "DialogCalls.h"
#include "host/dialogs/DialogManager.h"
#include "host/text/MacRoman.h"

namespace host {

using dialogcalls::copyText;

struct EventSuites {
    using Drawer = DialogManager::Drawer;
    using Kind = DialogDrawOp::Kind;

    static DialogManager* self() { return ActivePiece<DialogManager>::get(); }
    static const DialogManager::Notification* notification(ADMNotifierRef ref) {
        return activeLookup(&DialogManager::notifications_, ref);
    }
    static const DialogManager::Track* track(ADMTrackerRef ref) { return activeLookup(&DialogManager::tracks_, ref); }
    static Drawer* drawer(ADMDrawerRef ref) { return activeLookup(&DialogManager::drawers_, ref); }

    static ASInt16 toPixel(long coordinate) {
        return static_cast<ASInt16>(std::clamp<long>(coordinate, INT16_MIN, INT16_MAX));
    }
    /// From the drawn item's pixels to the dialog's.
    static ASRect inDialog(const Drawer& open, const ASRect& rect) {
        return {toPixel(long{rect.top} + open.origin.v), toPixel(long{rect.left} + open.origin.h),
                toPixel(long{rect.bottom} + open.origin.v), toPixel(long{rect.right} + open.origin.h)};
    }
    static ASPoint inDialog(const Drawer& open, const ASPoint& point) {
        return {toPixel(long{point.v} + open.origin.v), toPixel(long{point.h} + open.origin.h)};
    }

    /// Records one call in the drawer's state.
    static void record(ADMDrawerRef ref, DialogDrawOp op) {
        guarded([&] {
            Drawer* open = drawer(ref);
            if (!open) return;
            op.color = open->color;
            op.font = open->font;
            op.rect = inDialog(*open, op.rect);
            op.at = inDialog(*open, op.at);
            open->operations.push_back(std::move(op));
        });
    }
    static void recordRect(ADMDrawerRef ref, Kind kind, const ASRect* rect) {
        if (!rect) return;
        DialogDrawOp op;
        op.kind = kind;
        op.rect = *rect;
        record(ref, std::move(op));
    }

    // ADM Notifier Suite

    static ADMItemRef GetItem(ADMNotifierRef ref) {
        const auto* found = notification(ref);
        return found ? found->item : nullptr;
    }
    static ADMDialogRef GetDialog(ADMNotifierRef ref) {
        const auto* found = notification(ref);
        return found ? found->dialog : nullptr;
    }
    static ASBoolean IsNotifierType(ADMNotifierRef ref, const char* type) {
        const auto* found = notification(ref);
        return found && type && found->type == type;
    }
    static void GetNotifierType(ADMNotifierRef ref, char* type, ASInt32 maxLength) {
        const auto* found = notification(ref);
        copyText(found ? found->type : std::string(), type, maxLength);
    }

    // ADM Tracker Suite

    static void GetPoint(ADMTrackerRef ref, ASPoint* point) {
        if (!point) return;
        const auto* found = track(ref);
        *point = found ? found->point : ASPoint{};
    }
    static ADMMouseState GetMouseState(ADMTrackerRef ref) {
        const auto* found = track(ref);
        return found ? found->state : kADMMouseNormal;
    }

    // ADM Drawer Suite

    static void GetBoundsRect(ADMDrawerRef ref, ASRect* bounds) {
        if (!bounds) return;
        const Drawer* open = drawer(ref);
        *bounds = open ? open->bounds : ASRect{};
    }
    static void SetADMColor(ADMDrawerRef ref, ADMColor color) {
        if (Drawer* open = drawer(ref)) open->color = color;
    }
    static void SetFont(ADMDrawerRef ref, ASInt32 font) {
        if (Drawer* open = drawer(ref)) open->font = font;
    }
    static void ClearRect(ADMDrawerRef ref, const ASRect* rect) { recordRect(ref, Kind::clear, rect); }
    static void FillRect(ADMDrawerRef ref, const ASRect* rect) { recordRect(ref, Kind::fill, rect); }
    static void FrameRect(ADMDrawerRef ref, const ASRect* rect) { recordRect(ref, Kind::frame, rect); }
    static void DrawText(ADMDrawerRef ref, const char* text, const ASPoint* point) {
        if (!text || !point) return;
        guarded([&] {
            DialogDrawOp op;
            op.kind = Kind::text;
            op.text = macRomanToUtf8(text);
            op.at = *point;
            record(ref, std::move(op));
        });
    }
    static void DrawTextCentered(ADMDrawerRef ref, const char* text, const ASRect* rect) {
        if (!text || !rect) return;
        guarded([&] {
            DialogDrawOp op;
            op.kind = Kind::centeredText;
            op.text = macRomanToUtf8(text);
            op.rect = *rect;
            record(ref, std::move(op));
        });
    }
    static void DrawIcon(ADMDrawerRef ref, ADMIconRef icon, const ASPoint* topLeft) {
        DialogManager* manager = self();
        const Icons::Icon* found = manager ? manager->icons_.find(icon) : nullptr;
        if (!found || !topLeft) return;
        DialogDrawOp op;
        op.kind = Kind::icon;
        op.icon = found->resourceID;
        op.at = *topLeft;
        record(ref, std::move(op));
    }
};

void DialogManager::registerEventSuites(SuiteRegistry& registry) {
    using S = EventSuites;
    static const ADMNotifierSuite notifierSuite = {S::GetItem, S::GetDialog, S::IsNotifierType, S::GetNotifierType};
    static const ADMTrackerSuite trackerSuite = {S::GetPoint, S::GetMouseState};
    static const ADMDrawerSuite drawerSuite = {S::GetBoundsRect, S::SetADMColor,      S::SetFont,
                                               S::ClearRect,     S::FillRect,         S::FrameRect,
                                               S::DrawText,      S::DrawTextCentered, S::DrawIcon};
    registry.add(kADMNotifierSuite, kADMNotifierSuiteVersion, &notifierSuite);
    registry.add(kADMTrackerSuite, kADMTrackerSuiteVersion, &trackerSuite);
    registry.add(kADMDrawerSuite, kADMDrawerSuiteVersion, &drawerSuite);
}

}  // namespace host
