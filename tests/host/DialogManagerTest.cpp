// The dialog manager through its suites, with procedures of the test's own in
// place of a plug-in's: modal runs, a person's actions and their notifications,
// stale handles, and dialogs destroyed from inside their own procedures.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/Host.h"

namespace {

constexpr ASRect kPanelFrame{100, 100, 127, 285};  // 185 wide, 27 high
constexpr ASRect kButtonRect{4, 4, 24, 64};

class DialogManagerTest : public testing::Test {
protected:
    DialogManagerTest() : host_({std::filesystem::temp_directory_path(), std::nullopt, [](const std::string&) {}}) {
        dialog = acquire<ADMDialogSuite>(kADMDialogSuite, kADMDialogSuiteVersion);
        item = acquire<ADMItemSuite>(kADMItemSuite, kADMItemSuiteVersion);
        list = acquire<ADMListSuite>(kADMListSuite, kADMListSuiteVersion);
        entry = acquire<ADMEntrySuite>(kADMEntrySuite, kADMEntrySuiteVersion);
        notifier = acquire<ADMNotifierSuite>(kADMNotifierSuite, kADMNotifierSuiteVersion);
        tracker = acquire<ADMTrackerSuite>(kADMTrackerSuite, kADMTrackerSuiteVersion);
        drawer = acquire<ADMDrawerSuite>(kADMDrawerSuite, kADMDrawerSuiteVersion);
        group = acquire<ADMDialogGroupSuite>(kADMDialogGroupSuite, kADMDialogGroupSuiteVersion);
        journal.clear();
        onUserChanged = nullptr;
        host_.setModalEventSource([this] {
            if (events_.empty()) return false;
            std::function<void()> next = std::move(events_.front());
            events_.pop_front();
            next();
            return true;
        });
    }

    template <class Suite>
    const Suite* acquire(const char* name, ASInt32 version) {
        const void* table = nullptr;
        EXPECT_EQ(host_.suites().acquire(name, version, &table), kNoErr) << name;
        return static_cast<const Suite*>(table);
    }

    /// The person's next actions inside modal runs, in order.
    void then(std::function<void()> action) { events_.push_back(std::move(action)); }

    /// A shown palette 185 × 27 with procedures that write to the journal.
    ADMDialogRef makePanel() {
        ADMDialogRef panel =
            dialog->Create(nullptr, "Panel", 16400, kADMTabbedFloatingDialogStyle, nullptr, nullptr, 0);
        dialog->SetNotifyProc(panel, journalDialog);
        dialog->SetBoundsRect(panel, &kPanelFrame);
        dialog->Show(panel, true);
        journal.clear();
        return panel;
    }

    // Procedures of the test's "plug-in". They reach the test through these.
    static inline const ADMDialogSuite* dialog = nullptr;
    static inline const ADMItemSuite* item = nullptr;
    static inline const ADMListSuite* list = nullptr;
    static inline const ADMEntrySuite* entry = nullptr;
    static inline const ADMNotifierSuite* notifier = nullptr;
    static inline const ADMTrackerSuite* tracker = nullptr;
    static inline const ADMDrawerSuite* drawer = nullptr;
    static inline const ADMDialogGroupSuite* group = nullptr;
    static inline std::vector<std::string> journal;
    /// What an item's notification of a person's change does besides writing to the journal.
    static inline std::function<void(ADMItemRef)> onUserChanged;

    static std::string typeOf(ADMNotifierRef note) {
        char type[64];
        notifier->GetNotifierType(note, type, sizeof type);
        return type;
    }
    static void journalItem(ADMItemRef target, ADMNotifierRef note) {
        journal.push_back("item " + std::to_string(item->GetID(target)) + ": " + typeOf(note));
        if (notifier->IsNotifierType(note, kADMUserChangedNotifier) && onUserChanged) onUserChanged(target);
    }
    static void journalDialog(ADMDialogRef, ADMNotifierRef note) {
        ADMItemRef about = notifier->GetItem(note);
        journal.push_back("dialog: " + typeOf(note) + (about ? " of " + std::to_string(item->GetID(about)) : ""));
    }
    static void journalDestroy(ADMDialogRef) { journal.push_back("destroyed"); }

    /// Init procedure of a modal dialog with OK (1) and Cancel (2) push buttons left to their defaults.
    static ASErr okCancelInit(ADMDialogRef modal) {
        dialog->SetText(modal, "Confirm");
        dialog->SetDestroyProc(modal, journalDestroy);
        ASRect frame{200, 200, 300, 400};
        dialog->SetBoundsRect(modal, &frame);
        dialog->CreateItem(modal, 1, kADMTextPushButtonType, &kButtonRect, nullptr, nullptr, 0);
        ASRect cancel{30, 4, 50, 64};
        dialog->CreateItem(modal, 2, kADMTextPushButtonType, &cancel, nullptr, nullptr, 0);
        return kNoErr;
    }

    host::Host host_;
    std::deque<std::function<void()>> events_;
};

TEST_F(DialogManagerTest, ModalRunEndsByTheDefaultNotificationOfButtonOne) {
    then([&] {
        ADMDialogRef open = host_.modalDialog();
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(host_.dialogs().titleOf(open), "Confirm");
        host_.clickItem(open, 1);
    });
    EXPECT_EQ(dialog->Modal(nullptr, "bidon", 16600, kADMModalDialogStyle, okCancelInit, nullptr, 0), 1);
    // The dialog went with its run, and its plug-in was told.
    EXPECT_EQ(journal, std::vector<std::string>{"destroyed"});
    EXPECT_TRUE(host_.dialogs().dialogs().empty());
    EXPECT_EQ(host_.modalDialog(), nullptr);
    EXPECT_NO_THROW(host_.dialogs().throwPendingError());
}

TEST_F(DialogManagerTest, ModalRunWithoutEventsIsCancelledAndReportedAfterwards) {
    auto init = [](ADMDialogRef modal) {
        okCancelInit(modal);
        item->SetNotifyProc(dialog->GetItem(modal, 2), [](ADMItemRef target, ADMNotifierRef note) {
            journalItem(target, note);
            item->DefaultNotify(target, note);
        });
        return kNoErr;
    };
    // Nothing from the source: Cancel is pressed for the person, and the run answers 2.
    EXPECT_EQ(dialog->Modal(nullptr, "bidon", 16600, kADMModalDialogStyle, init, nullptr, 0), 2);
    EXPECT_EQ(journal, (std::vector<std::string>{"item 2: ADM User Changed Notifier", "destroyed"}));
    EXPECT_THROW(
        {
            try {
                host_.dialogs().throwPendingError();
            } catch (const host::HostError& error) {
                EXPECT_STREQ(error.what(), "the events ran out inside the modal dialog \"Confirm\"");
                throw;
            }
        },
        host::HostError);
    // Thrown once.
    EXPECT_NO_THROW(host_.dialogs().throwPendingError());
}

TEST_F(DialogManagerTest, NestedModalRunsEndInnermostFirst) {
    // The outer dialog's button 3 opens the inner dialog; the answers of both runs are kept.
    static std::vector<ASInt32> answers;
    answers.clear();
    auto outerInit = [](ADMDialogRef modal) {
        okCancelInit(modal);
        ADMItemRef more = dialog->CreateItem(modal, 3, kADMTextPushButtonType, &kButtonRect, nullptr, nullptr, 0);
        item->SetNotifyProc(more, [](ADMItemRef target, ADMNotifierRef) {
            SPPluginRef plugin = dialog->GetPluginRef(item->GetDialog(target));
            answers.push_back(dialog->Modal(plugin, "bidon", 16700, kADMModalDialogStyle, okCancelInit, nullptr, 0));
        });
        return kNoErr;
    };
    ADMDialogRef outer = nullptr;
    then([&] {
        outer = host_.modalDialog();
        host_.clickItem(outer, 3);
    });
    then([&] {
        ADMDialogRef inner = host_.modalDialog();
        EXPECT_NE(inner, outer);
        EXPECT_EQ(host_.dialogs().dialog(inner)->id, 16700);
        // The outer dialog waits under the inner one.
        EXPECT_THROW(host_.clickItem(outer, 1), host::HostError);
        host_.clickItem(inner, 1);
    });
    then([&] {
        EXPECT_EQ(host_.modalDialog(), outer);
        host_.clickItem(outer, 2);
    });
    answers.push_back(dialog->Modal(nullptr, "bidon", 16600, kADMModalDialogStyle, outerInit, nullptr, 0));
    EXPECT_EQ(answers, (std::vector<ASInt32>{1, 2}));
    EXPECT_EQ(journal, (std::vector<std::string>{"destroyed", "destroyed"}));
    EXPECT_TRUE(events_.empty());
}

TEST_F(DialogManagerTest, AnErrorInsideANestedRunEndsEveryRunThenIsThrownOnce) {
    auto outerInit = [](ADMDialogRef modal) {
        okCancelInit(modal);
        item->SetNotifyProc(dialog->GetItem(modal, 1), [](ADMItemRef, ADMNotifierRef) {
            journal.push_back(
                "inner answered " +
                std::to_string(dialog->Modal(nullptr, "bidon", 16700, kADMModalDialogStyle, okCancelInit, nullptr, 0)));
        });
        return kNoErr;
    };
    then([&] { host_.clickItem(host_.modalDialog(), 1); });
    then([] { throw std::runtime_error("line 12: bad command"); });
    then([] { ADD_FAILURE() << "no event is pulled once the source failed"; });
    EXPECT_EQ(dialog->Modal(nullptr, "bidon", 16600, kADMModalDialogStyle, outerInit, nullptr, 0), 2);
    EXPECT_EQ(journal, (std::vector<std::string>{"destroyed", "inner answered 2", "destroyed"}));
    EXPECT_THROW(host_.dialogs().throwPendingError(), std::runtime_error);
    EXPECT_NO_THROW(host_.dialogs().throwPendingError());
}

TEST_F(DialogManagerTest, PalettesAreTheNonModalDialogsOldestFirstShownOrNot) {
    ADMDialogRef first = makePanel();
    ADMDialogRef second = makePanel();
    dialog->Show(first, false);
    std::vector<ADMDialogRef> insideRun;
    then([&] {
        insideRun = host_.dialogs().palettes();
        host_.clickItem(host_.modalDialog(), 1);
    });
    dialog->Modal(nullptr, "bidon", 16600, kADMModalDialogStyle, okCancelInit, nullptr, 0);
    // The modal dialog is none of them, and a hidden palette still counts.
    EXPECT_EQ(insideRun, (std::vector<ADMDialogRef>{first, second}));
    dialog->Destroy(first);
    ADMDialogRef third = makePanel();
    EXPECT_EQ(host_.dialogs().palettes(), (std::vector<ADMDialogRef>{second, third}));
}

TEST_F(DialogManagerTest, TypingIntoAMillimetreFieldSetsPointsThenNotifiesItemThenDialog) {
    ADMDialogRef panel = makePanel();
    ASRect fieldRect{4, 4, 23, 84};
    ADMItemRef field = dialog->CreateItem(panel, 1, kADMSpinEditPopupType, &fieldRect, nullptr, nullptr, 0);
    item->SetUnits(field, kADMMillimeterUnits);
    item->SetMinFloatValue(field, -1000.0f);
    item->SetMaxFloatValue(field, 1000.0f);
    item->SetNotifyProc(field, journalItem);

    host_.typeIntoItem(panel, 1, "10");
    EXPECT_EQ(item->GetFloatValue(field), static_cast<float>(10 * 72 / 25.4));
    char text[32];
    item->GetText(field, text, sizeof text);
    EXPECT_STREQ(text, "10,00 mm");
    EXPECT_EQ(journal, (std::vector<std::string>{"item 1: ADM User Changed Notifier",
                                                 "dialog: ADM Text Selection Change Notification of 1"}));
    EXPECT_EQ(host_.dialogs().dialog(panel)->focus, field);

    // The unit may be typed, the comma stands for the point, and the maximum holds.
    host_.typeIntoItem(panel, 1, " 12,5 mm ");
    EXPECT_EQ(item->GetFloatValue(field), static_cast<float>(12.5 * 72 / 25.4));
    host_.typeIntoItem(panel, 1, "400");
    EXPECT_EQ(item->GetFloatValue(field), 1000.0f);

    // A text that means no number beeps and tells nobody.
    journal.clear();
    int beeps = host_.basic().beeps();
    host_.typeIntoItem(panel, 1, "ten");
    EXPECT_EQ(host_.basic().beeps(), beeps + 1);
    EXPECT_EQ(item->GetFloatValue(field), 1000.0f);
    EXPECT_TRUE(journal.empty());

    // A preset is typed as its text says.
    ADMEntryRef preset = list->InsertEntry(item->GetList(field), -1);
    entry->SetID(preset, 7);
    entry->SetText(preset, "-5 mm");
    host_.pickPreset(panel, 1, 7);
    EXPECT_EQ(item->GetFloatValue(field), static_cast<float>(-5 * 72 / 25.4));
    EXPECT_EQ(list->GetActiveEntry(item->GetList(field)), preset);
    EXPECT_THROW(host_.pickPreset(panel, 1, 8), host::HostError);
}

TEST_F(DialogManagerTest, DisabledHiddenOrOutlyingItemsTakeNoClick) {
    ADMDialogRef panel = makePanel();
    ASRect boxRect{4, 4, 20, 100};
    ADMItemRef box = dialog->CreateItem(panel, 10, kADMTextCheckBoxType, &boxRect, nullptr, nullptr, 0);
    item->SetNotifyProc(box, journalItem);

    item->Enable(box, false);
    host_.clickItem(panel, 10);
    item->Enable(box, true);
    item->Show(box, false);
    host_.clickItem(panel, 10);
    item->Show(box, true);
    item->Move(box, 370, 0);  // right of the 185-pixel-wide panel
    host_.clickItem(panel, 10);
    EXPECT_TRUE(journal.empty());
    EXPECT_FALSE(item->GetBooleanValue(box));

    item->Move(box, 0, 0);
    host_.clickItem(panel, 10);
    EXPECT_TRUE(item->GetBooleanValue(box));
    EXPECT_EQ(journal, std::vector<std::string>{"item 10: ADM User Changed Notifier"});

    // A hidden dialog can't be reached at all, nor can an item it lacks.
    EXPECT_THROW(host_.clickItem(panel, 11), host::HostError);
    dialog->Show(panel, false);
    EXPECT_THROW(host_.clickItem(panel, 10), host::HostError);
}

TEST_F(DialogManagerTest, DragTracksPressMovesAndReleaseInItemPixels) {
    ADMDialogRef panel = makePanel();
    ASRect pictureRect{2, 10, 24, 34};
    ADMItemRef picture = dialog->CreateItem(panel, 7, kADMPicturePushButtonType, &pictureRect, nullptr, nullptr, 0);
    item->SetTrackProc(picture, [](ADMItemRef, ADMTrackerRef track) -> ASBoolean {
        ASPoint point;
        tracker->GetPoint(track, &point);
        journal.push_back(std::to_string(point.h) + "," + std::to_string(point.v) +
                          (tracker->GetMouseState(track) == kADMMouseDown ? " down" : " up"));
        return false;
    });
    host_.dragItem(panel, 7, 5, 2);
    EXPECT_EQ(journal, (std::vector<std::string>{"5,11 down", "4,11 down", "3,11 down", "2,11 down", "2,11 up"}));
}

TEST_F(DialogManagerTest, DrawingHappensAfterTheEventInDialogPixels) {
    ADMDialogRef panel = makePanel();
    ASRect pictureRect{2, 10, 24, 34};
    ADMItemRef picture = dialog->CreateItem(panel, 7, kADMPicturePushButtonType, &pictureRect, nullptr, nullptr, 0);
    item->SetDrawProc(picture, [](ADMItemRef, ADMDrawerRef draw) {
        journal.push_back("drawn");
        ASRect bounds;
        drawer->GetBoundsRect(draw, &bounds);
        drawer->SetADMColor(draw, kADMHiliteColor);
        drawer->FillRect(draw, &bounds);
    });
    item->SetNotifyProc(picture, [](ADMItemRef target, ADMNotifierRef) {
        journal.push_back("clicked");
        item->Invalidate(target);
    });
    host_.afterEvent();
    ASSERT_EQ(journal, std::vector<std::string>{"drawn"});
    host_.clickItem(panel, 7);
    EXPECT_EQ(journal, (std::vector<std::string>{"drawn", "clicked", "drawn"}));
    nlohmann::json drawing = host_.dumpHost()["dialogs"][0]["items"][1]["drawing"];
    EXPECT_EQ(drawing, nlohmann::json::parse(R"([{"op": "fill", "rect": [2, 10, 24, 34], "color": 16}])"));
}

TEST_F(DialogManagerTest, StaleHandlesAnswerNothingAndChangeNothing) {
    ADMDialogRef panel = makePanel();
    ADMItemRef field = dialog->CreateItem(panel, 1, kADMSpinEditPopupType, &kButtonRect, nullptr, nullptr, 0);
    ADMListRef entries = item->GetList(field);
    ADMEntryRef first = list->InsertEntry(entries, -1);
    static ADMNotifierRef keptNotifier = nullptr;
    item->SetNotifyProc(field, [](ADMItemRef, ADMNotifierRef note) { keptNotifier = note; });
    host_.clickItem(panel, 1);
    // A notifier lives for its notification only.
    EXPECT_EQ(notifier->GetItem(keptNotifier), nullptr);
    EXPECT_FALSE(notifier->IsNotifierType(keptNotifier, kADMUserChangedNotifier));

    const char* groupName = nullptr;
    ASInt32 position = -1;
    EXPECT_EQ(group->GetDialogGroupInfo(panel, &groupName, &position), kNoErr);
    EXPECT_STREQ(groupName, "Panel");
    EXPECT_EQ(position, host::DialogManager::kUndockedPosition);

    dialog->Destroy(panel);
    EXPECT_EQ(dialog->GetItem(panel, 1), nullptr);
    EXPECT_FALSE(dialog->IsVisible(panel));
    EXPECT_EQ(dialog->CreateItem(panel, 2, kADMTextStaticType, &kButtonRect, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(item->GetID(field), 0);
    EXPECT_EQ(item->GetList(field), nullptr);
    item->SetFloatValue(field, 3.0f);
    EXPECT_EQ(item->GetFloatValue(field), 0.0f);
    EXPECT_EQ(list->NumberOfEntries(entries), 0);
    EXPECT_EQ(list->InsertEntry(entries, 0), nullptr);
    EXPECT_EQ(entry->GetIndex(first), -1);
    EXPECT_FALSE(entry->IsEnabled(first));
    EXPECT_EQ(group->GetDialogGroupInfo(panel, &groupName, &position), kBadHandleErr);
    EXPECT_EQ(groupName, nullptr);
    EXPECT_THROW(host_.clickItem(panel, 1), host::HostError);

    // A handle of another kind finds nothing either.
    ADMDialogRef other = makePanel();
    ADMItemRef otherItem = dialog->CreateItem(other, 1, kADMTextStaticType, &kButtonRect, nullptr, nullptr, 0);
    EXPECT_EQ(dialog->GetItem(reinterpret_cast<ADMDialogRef>(otherItem), 1), nullptr);
    EXPECT_EQ(item->GetID(reinterpret_cast<ADMItemRef>(other)), 0);
    EXPECT_TRUE(host_.dumpHost()["dialogs"].size() == 1);
}

TEST_F(DialogManagerTest, ADialogDestroyedByItsOwnNotificationGoesSafely) {
    ADMDialogRef panel = makePanel();
    dialog->SetDestroyProc(panel, journalDestroy);
    ASRect fieldRect{4, 4, 23, 84};
    dialog->CreateItem(panel, 1, kADMSpinEditType, &fieldRect, nullptr, nullptr, 0);
    item->SetNotifyProc(dialog->GetItem(panel, 1), journalItem);
    onUserChanged = [](ADMItemRef target) {
        ADMDialogRef owner = item->GetDialog(target);
        dialog->Destroy(owner);
        // Still inside the procedure: the item answers nothing from now on.
        journal.push_back("then id " + std::to_string(item->GetID(target)));
        dialog->Destroy(owner);
    };
    host_.typeIntoItem(panel, 1, "4");
    // Destroyed once, and the dialog's own notification is not sent to a dialog that is gone.
    EXPECT_EQ(journal, (std::vector<std::string>{"item 1: ADM User Changed Notifier", "destroyed", "then id 0"}));
    EXPECT_TRUE(host_.dialogs().dialogs().empty());

    // A modal dialog destroyed by its OK button ends its run as cancelled.
    onUserChanged = [](ADMItemRef target) { dialog->Destroy(item->GetDialog(target)); };
    auto init = [](ADMDialogRef modal) {
        okCancelInit(modal);
        item->SetNotifyProc(dialog->GetItem(modal, 1), journalItem);
        return kNoErr;
    };
    then([&] { host_.clickItem(host_.modalDialog(), 1); });
    journal.clear();
    EXPECT_EQ(dialog->Modal(nullptr, "bidon", 16600, kADMModalDialogStyle, init, nullptr, 0),
              host::DialogManager::kCancelButtonID);
    EXPECT_EQ(journal, (std::vector<std::string>{"item 1: ADM User Changed Notifier", "destroyed"}));
    EXPECT_NO_THROW(host_.dialogs().throwPendingError());
}

}  // namespace
