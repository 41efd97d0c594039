// The Dialog, Dialog Group and Item suites: each function finds its dialog or item
// by the handle first, so that a stale one changes nothing.
#include <cmath>
#include <limits>

#include "DialogCalls.h"
#include "host/dialogs/DialogManager.h"
#include "host/text/MacRoman.h"

namespace host {

using dialogcalls::copyText;

struct DialogSuites {
    using Dialog = DialogManager::Dialog;
    using Item = DialogManager::Item;

    static DialogManager* self() { return ActivePiece<DialogManager>::get(); }

    static Dialog* dialog(ADMDialogRef ref) { return activeLookup(&DialogManager::dialogs_, ref); }
    static Item* item(ADMItemRef ref) { return activeLookup(&DialogManager::items_, ref); }

    /// Changes a live dialog and has it drawn again.
    template <class Change>
    static void changeDialog(ADMDialogRef ref, Change&& change) {
        guarded([&] {
            if (Dialog* found = dialog(ref)) {
                change(*found);
                self()->invalidateDialog(ref);
            }
        });
    }
    /// Changes a live item and has it drawn again.
    template <class Change>
    static void changeItem(ADMItemRef ref, Change&& change) {
        guarded([&] {
            if (Item* found = item(ref)) {
                change(*found);
                found->needsDrawing = true;
            }
        });
    }
    template <class Result, class Read>
    static Result readItem(ADMItemRef ref, Result fallback, Read&& read) {
        const Item* found = item(ref);
        return found ? read(*found) : fallback;
    }

    // ADM Dialog Suite

    static ADMDialogRef Create(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                               ADMDialogInitProc initProc, ADMUserData data, ASInt32 options) {
        return guarded<ADMDialogRef>(nullptr, [&] {
            DialogManager* manager = self();
            return manager ? manager->create(plugin, name, dialogID, style, initProc, data, options) : nullptr;
        });
    }
    static ASInt32 Modal(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                         ADMDialogInitProc initProc, ADMUserData data, ASInt32 options) {
        return guarded(DialogManager::kModalFailed, [&] {
            DialogManager* manager = self();
            return manager ? manager->modal(plugin, name, dialogID, style, initProc, data, options)
                           : DialogManager::kModalFailed;
        });
    }
    static ASInt32 PopupModal(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogInitProc initProc,
                              ADMUserData data, ASInt32 options) {
        return Modal(plugin, name, dialogID, kADMPopupModalDialogStyle, initProc, data, options);
    }
    static void Destroy(ADMDialogRef ref) {
        guarded([&] {
            if (DialogManager* manager = self()) manager->destroy(ref);
        });
    }

    static void SetDrawProc(ADMDialogRef ref, ADMDialogDrawProc proc) {
        changeDialog(ref, [&](Dialog& found) { found.draw = proc; });
    }
    static void SetTrackProc(ADMDialogRef ref, ADMDialogTrackProc proc) {
        if (Dialog* found = dialog(ref)) found->track = proc;
    }
    static void SetNotifyProc(ADMDialogRef ref, ADMDialogNotifyProc proc) {
        if (Dialog* found = dialog(ref)) found->notify = proc;
    }
    static void SetDestroyProc(ADMDialogRef ref, ADMDialogDestroyProc proc) {
        if (Dialog* found = dialog(ref)) found->destroy = proc;
    }
    static ADMUserData GetUserData(ADMDialogRef ref) {
        const Dialog* found = dialog(ref);
        return found ? found->userData : nullptr;
    }
    static void SetUserData(ADMDialogRef ref, ADMUserData data) {
        if (Dialog* found = dialog(ref)) found->userData = data;
    }

    static void DefaultDraw(ADMDialogRef ref, ADMDrawerRef drawer) {
        guarded([&] {
            DialogManager::Drawer* open = activeLookup(&DialogManager::drawers_, drawer);
            if (open && dialog(ref)) open->operations.push_back({});
        });
    }
    static ASBoolean DefaultTrack(ADMDialogRef, ADMTrackerRef) { return false; }
    static void DefaultNotify(ADMDialogRef ref, ADMNotifierRef notifier) {
        guarded([&] {
            DialogManager* manager = self();
            const auto* notification = manager ? manager->notifications_.find(notifier) : nullptr;
            const Item* about = notification ? item(notification->item) : nullptr;
            // A push button's notification that reaches its modal dialog ends the run as the button would.
            if (about && about->dialog == ref && notification->type == kADMUserChangedNotifier)
                manager->itemDefaultNotify(notification->item);
        });
    }

    static SPPluginRef GetPluginRef(ADMDialogRef ref) {
        const Dialog* found = dialog(ref);
        return found ? found->plugin : nullptr;
    }
    static ADMItemRef GetItem(ADMDialogRef ref, ASInt32 itemID) {
        DialogManager* manager = self();
        return manager ? manager->findItem(ref, itemID) : nullptr;
    }
    static ADMItemRef CreateItem(ADMDialogRef ref, ASInt32 itemID, const char* itemType, const ASRect* bounds,
                                 ADMItemInitProc initProc, ADMUserData data, ASInt32) {
        return guarded<ADMItemRef>(nullptr, [&] {
            DialogManager* manager = self();
            return manager ? manager->createItem(ref, itemID, itemType, bounds, initProc, data) : nullptr;
        });
    }

    static void Show(ADMDialogRef ref, ASBoolean visible) {
        guarded([&] {
            if (DialogManager* manager = self()) manager->show(ref, visible != 0);
        });
    }
    static ASBoolean IsVisible(ADMDialogRef ref) {
        const Dialog* found = dialog(ref);
        return found && found->visible;
    }
    static void SetText(ADMDialogRef ref, const char* text) {
        changeDialog(ref, [&](Dialog& found) { found.title = text ? text : ""; });
    }
    static void GetBoundsRect(ADMDialogRef ref, ASRect* bounds) {
        if (!bounds) return;
        const Dialog* found = dialog(ref);
        *bounds = found ? found->bounds : ASRect{};
    }
    static void SetBoundsRect(ADMDialogRef ref, const ASRect* bounds) {
        if (bounds) changeDialog(ref, [&](Dialog& found) { found.bounds = *bounds; });
    }
    static void Invalidate(ADMDialogRef ref) {
        changeDialog(ref, [](Dialog&) {});
    }

    // ADM Dialog Group Suite

    static ASErr GetDialogGroupInfo(ADMDialogRef ref, const char** groupName, ASInt32* positionCode) {
        if (!groupName || !positionCode) return kBadParameterErr;
        *groupName = nullptr;
        *positionCode = 0;
        const Dialog* found = dialog(ref);
        if (!found) return kBadHandleErr;
        // Palettes float on their own: each is a group of one, named after itself.
        *groupName = found->name.c_str();
        *positionCode = DialogManager::kUndockedPosition;
        return kNoErr;
    }

    // ADM Item Suite

    static ASInt32 GetID(ADMItemRef ref) {
        return readItem(ref, ASInt32{0}, [](const Item& found) { return found.id; });
    }
    static ADMDialogRef GetDialog(ADMItemRef ref) {
        return readItem<ADMDialogRef>(ref, nullptr, [](const Item& found) { return found.dialog; });
    }

    static void SetDrawProc(ADMItemRef ref, ADMItemDrawProc proc) {
        changeItem(ref, [&](Item& found) { found.draw = proc; });
    }
    static void SetTrackProc(ADMItemRef ref, ADMItemTrackProc proc) {
        if (Item* found = item(ref)) found->track = proc;
    }
    static void SetNotifyProc(ADMItemRef ref, ADMItemNotifyProc proc) {
        if (Item* found = item(ref)) found->notify = proc;
    }
    static void SetMask(ADMItemRef ref, ADMActionMask mask) {
        if (Item* found = item(ref)) found->mask = mask;
    }
    static void ItemDefaultDraw(ADMItemRef ref, ADMDrawerRef drawer) {
        guarded([&] {
            DialogManager::Drawer* open = activeLookup(&DialogManager::drawers_, drawer);
            if (open && item(ref)) open->operations.push_back({});
        });
    }
    static ASBoolean ItemDefaultTrack(ADMItemRef, ADMTrackerRef) { return false; }
    static void ItemDefaultNotify(ADMItemRef ref, ADMNotifierRef) {
        guarded([&] {
            if (DialogManager* manager = self()) manager->itemDefaultNotify(ref);
        });
    }

    static void SetTipString(ADMItemRef ref, const char* tip) {
        guarded([&] {
            if (Item* found = item(ref)) found->tooltip = tip ? tip : "";
        });
    }
    static void EnableTip(ADMItemRef ref, ASBoolean enable) {
        if (Item* found = item(ref)) found->tooltipEnabled = enable != 0;
    }
    static void SetPictureID(ADMItemRef ref, ASInt32 pictureID, const char*) {
        changeItem(ref, [&](Item& found) { found.picture = pictureID; });
    }
    static void SetSelectedPictureID(ADMItemRef ref, ASInt32 pictureID, const char*) {
        changeItem(ref, [&](Item& found) { found.pressedPicture = pictureID; });
    }
    static void SetFont(ADMItemRef ref, ADMFont font) {
        changeItem(ref, [&](Item& found) { found.font = font; });
    }
    static void SetJustify(ADMItemRef ref, ADMJustify justify) {
        changeItem(ref, [&](Item& found) { found.justify = justify; });
    }

    static void SetText(ADMItemRef ref, const char* text) {
        changeItem(ref, [&](Item& found) {
            found.text = text ? text : "";
            // A field's text, when it reads as a number, is its value.
            if (!found.showsValue && !dialogcalls::isField(found.type)) return;
            if (std::optional<float> value = self()->readValue(found, macRomanToUtf8(found.text))) {
                found.value = *value;
                found.showsValue = true;
            }
        });
    }
    static void GetText(ADMItemRef ref, char* text, ASInt32 maxLength) {
        const Item* found = item(ref);
        copyText(found ? found->text : std::string(), text, maxLength);
    }
    static void SetUnits(ADMItemRef ref, ADMUnits units) {
        changeItem(ref, [&](Item& found) {
            found.units = units;
            self()->updateText(found);
        });
    }
    static void SetPrecision(ADMItemRef ref, ASInt32 precision) {
        changeItem(ref, [&](Item& found) {
            found.precision = precision;
            self()->updateText(found);
        });
    }

    /// A value set by the plug-in; the items that can show it show it from now on.
    static void setValue(ADMItemRef ref, float value, bool integral) {
        if (!std::isfinite(value)) return;
        changeItem(ref, [&](Item& found) {
            found.value = value;
            if (dialogcalls::canShowValue(found.type)) {
                found.showsValue = true;
                found.integral = integral;
            }
            self()->updateText(found);
        });
    }
    static void SetBooleanValue(ADMItemRef ref, ASBoolean value) {
        changeItem(ref, [&](Item& found) {
            found.value = value ? 1.0f : 0.0f;
            self()->updateText(found);
        });
    }
    static ASBoolean GetBooleanValue(ADMItemRef ref) {
        return readItem(ref, ASBoolean{0}, [](const Item& found) { return ASBoolean{found.value != 0.0f}; });
    }
    static void SetIntValue(ADMItemRef ref, ASInt32 value) { setValue(ref, static_cast<float>(value), true); }
    static ASInt32 GetIntValue(ADMItemRef ref) {
        return readItem(ref, ASInt32{0}, [](const Item& found) {
            constexpr float kLimit = 2147483520.0f;  // the largest float below 2^31
            return static_cast<ASInt32>(std::lround(std::clamp(found.value, -kLimit, kLimit)));
        });
    }
    static void SetFloatValue(ADMItemRef ref, float value) { setValue(ref, value, false); }
    static float GetFloatValue(ADMItemRef ref) {
        return readItem(ref, 0.0f, [](const Item& found) { return found.value; });
    }
    static void SetMinFloatValue(ADMItemRef ref, float value) {
        if (Item* found = item(ref); found && std::isfinite(value)) found->minimum = value;
    }
    static void SetMaxFloatValue(ADMItemRef ref, float value) {
        if (Item* found = item(ref); found && std::isfinite(value)) found->maximum = value;
    }
    static void SetMinIntValue(ADMItemRef ref, ASInt32 value) { SetMinFloatValue(ref, static_cast<float>(value)); }
    static void SetMaxIntValue(ADMItemRef ref, ASInt32 value) { SetMaxFloatValue(ref, static_cast<float>(value)); }
    static void SetSmallIncrement(ADMItemRef ref, float increment) {
        if (Item* found = item(ref); found && std::isfinite(increment)) found->smallStep = increment;
    }
    static void SetLargeIncrement(ADMItemRef ref, float increment) {
        if (Item* found = item(ref); found && std::isfinite(increment)) found->largeStep = increment;
    }
    static void SetHasRollOverProperty(ADMItemRef ref, ASBoolean value) {
        if (Item* found = item(ref)) found->rollOver = value != 0;
    }

    static void ItemShow(ADMItemRef ref, ASBoolean visible) {
        changeItem(ref, [&](Item& found) { found.visible = visible != 0; });
    }
    static ASBoolean ItemIsVisible(ADMItemRef ref) {
        return readItem(ref, ASBoolean{0}, [](const Item& found) { return ASBoolean{found.visible}; });
    }
    static void Enable(ADMItemRef ref, ASBoolean enable) {
        changeItem(ref, [&](Item& found) { found.enabled = enable != 0; });
    }
    static ASBoolean IsEnabled(ADMItemRef ref) {
        return readItem(ref, ASBoolean{0}, [](const Item& found) { return ASBoolean{found.enabled}; });
    }
    static void Activate(ADMItemRef ref, ASBoolean activate) {
        const Item* found = item(ref);
        Dialog* owner = found ? dialog(found->dialog) : nullptr;
        if (!owner) return;
        if (activate)
            owner->focus = ref;
        else if (owner->focus == ref)
            owner->focus = nullptr;
    }
    static void Move(ADMItemRef ref, ASInt32 h, ASInt32 v) {
        changeItem(ref, [&](Item& found) {
            auto clamp = [](long coordinate) {
                return static_cast<ASInt16>(std::clamp<long>(coordinate, INT16_MIN, INT16_MAX));
            };
            const long width = found.rect.right - found.rect.left;
            const long height = found.rect.bottom - found.rect.top;
            found.rect = {clamp(v), clamp(h), clamp(clamp(v) + height), clamp(clamp(h) + width)};
        });
    }
    static void ItemGetBoundsRect(ADMItemRef ref, ASRect* bounds) {
        if (!bounds) return;
        const Item* found = item(ref);
        *bounds = found ? found->rect : ASRect{};
    }
    static void ItemInvalidate(ADMItemRef ref) {
        changeItem(ref, [](Item&) {});
    }
    static ADMListRef GetList(ADMItemRef ref) {
        return readItem<ADMListRef>(ref, nullptr, [](const Item& found) { return found.list; });
    }
};

void DialogManager::registerDialogSuites(SuiteRegistry& registry) {
    using S = DialogSuites;
    static const ADMDialogSuite dialogSuite = {
        S::Create,        S::Modal,          S::PopupModal,    S::Destroy,     S::SetDrawProc, S::SetTrackProc,
        S::SetNotifyProc, S::SetDestroyProc, S::GetUserData,   S::SetUserData, S::DefaultDraw, S::DefaultTrack,
        S::DefaultNotify, S::GetPluginRef,   S::GetItem,       S::CreateItem,  S::Show,        S::IsVisible,
        S::SetText,       S::GetBoundsRect,  S::SetBoundsRect, S::Invalidate,
    };
    static const ADMDialogGroupSuite groupSuite = {S::GetDialogGroupInfo};
    static const ADMItemSuite itemSuite = {
        S::GetID,
        S::GetDialog,
        S::SetDrawProc,
        S::SetTrackProc,
        S::SetNotifyProc,
        S::SetMask,
        S::ItemDefaultDraw,
        S::ItemDefaultTrack,
        S::ItemDefaultNotify,
        S::SetTipString,
        S::EnableTip,
        S::SetPictureID,
        S::SetSelectedPictureID,
        S::SetFont,
        S::SetJustify,
        S::SetText,
        S::GetText,
        S::SetUnits,
        S::SetPrecision,
        S::SetBooleanValue,
        S::GetBooleanValue,
        S::SetIntValue,
        S::GetIntValue,
        S::SetFloatValue,
        S::GetFloatValue,
        S::SetMinFloatValue,
        S::SetMaxFloatValue,
        S::SetMinIntValue,
        S::SetMaxIntValue,
        S::SetSmallIncrement,
        S::SetLargeIncrement,
        S::SetHasRollOverProperty,
        S::ItemShow,
        S::ItemIsVisible,
        S::Enable,
        S::IsEnabled,
        S::Activate,
        S::Move,
        S::ItemGetBoundsRect,
        S::ItemInvalidate,
        S::GetList,
    };
    registry.add(kADMDialogSuite, kADMDialogSuiteVersion, &dialogSuite);
    registry.add(kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, &groupSuite);
    registry.add(kADMItemSuite, kADMItemSuiteVersion, &itemSuite);
}

}  // namespace host
