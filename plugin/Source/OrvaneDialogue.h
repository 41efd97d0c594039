// The floating panel: a strip with the length and angle fields that give the tool its
// next segment, and below it the help pages. One object, owned by the plug-in object
// from the end of the host's start-up to the announcement of its shutdown.
#pragma once

#include <optional>

#include "ADMItem.h"
#include "AITypes.h"
#include "BaseADMDialog.h"
#include "Dialogues.h"
#include "PolylineTool.h"
#include "SPBasic.h"

namespace panneau {
constexpr const char* kNom = "Orvane";
constexpr const char* kTitre = "Orvane 1.3";
/// Where the host keeps the panel's docking: the prefix is the panel's name.
constexpr const char* kCleAncrage = "kADM_DPDockCodeStr";

// The panel's items.
constexpr ASInt32 kItemLongueur = 1;
constexpr ASInt32 kItemMotLongueur = 2;
constexpr ASInt32 kItemAngle = 3;
constexpr ASInt32 kItemMotAngle = 4;
constexpr ASInt32 kItemIndicateurEchelle = 5;
constexpr ASInt32 kItemReveil = 6;

/// The strip, without the help area, and the panel with it.
constexpr ASInt32 kLargeur = 185;
constexpr ASInt32 kHauteurBandeau = 27;
constexpr ASInt32 kHauteurAvecAide = 140;
/// Where the click-catcher goes while the tool is selected: beyond the strip.
constexpr ASInt32 kReveilEcarte = 370;

/// The panel menu's help entry; its first letter tells whether the help is shown.
constexpr const char* kMontrerAide = "Show help";
constexpr const char* kCacherAide = "Hide help";
}  // namespace panneau

/// The shown angle and the direction that a typed angle gives.
struct AngleDuPanneau {
    AIReal angleRelatif;    // radians for the label: above pi it is folded back, below 0 it stays negative
    AIReal angleDeLaLigne;  // direction of the segment
};

/// A typed angle (degrees, 180 straight on) turned into the segment's direction from
/// the last placed segment's direction angleAncien.
AngleDuPanneau AngleTape(AIReal angleAncien, AIReal degres);

/// The angle in degrees that, typed in the angle field, gives the direction angleDeLaLigne
/// again from angleAncien: the shown angle for a turn to the left or straight on, 360
/// minus it for a turn to the right, 0 doubling back.
AIReal AngleARetaper(AIReal angleAncien, AIReal angleDeLaLigne);

/// Where the modal dialogs open: a third of the free height of the screen down, centred
/// across. Done when the panel is built, or at start-up without it.
void PlaceDialogues(const ASRect& screen, ModalDialogPlace& preferences, ModalDialogPlace& customScale);

class OrvaneDialogue : public BaseADMDialog {
public:
    /// Has the host create the panel; Init builds it during the creation.
    explicit OrvaneDialogue(SPPluginRef plugin);
    ~OrvaneDialogue() override;

    ASErr Init() override;

    /// Items enabled and the click-catcher moved away while the tool is selected;
    /// otherwise the catcher covers the strip so that a click selects the tool.
    void ActiveZones(bool active);

    /// Where the host has docked the panel, while the panel exists.
    std::optional<ASInt32> CodeAncrage() const;

    /// The dialog as its Init built it.
    ADMDialogRef DialogConstruit() const { return fConstruit; }
    /// The help page shown, 1 to aide::kNombrePages.
    ASInt16& PageAideMontree() { return fPageAide; }

    static void MaNotification(ADMDialogRef dialog, ADMNotifierRef notifier);

private:
    SPAccessRef fAcces = nullptr;
    ADMDialogRef fConstruit = nullptr;
    ASInt16 fPageAide = 1;
};

/// The fields show the segment under construction: its length at the drawing scale and
/// the angle that, typed back, gives it (AngleARetaper).
void RemplitChampsDuPanneau(const ToolState& state, double scale);

/// Gives the length field the keyboard focus.
void ActiveChampLongueur();

// Notify procedures of the panel's items.
void ReveillePanneauCBP(ADMItemRef item, ADMNotifierRef notifier);
void MotCBP(ADMItemRef item, ADMNotifierRef notifier);
void MotPlusCBP(ADMItemRef item, ASInt32 cible);
void LongueurCBP(ADMItemRef item, ADMNotifierRef notifier);
void AngleCBP(ADMItemRef item, ADMNotifierRef notifier);
void MenuCBP(ADMItemRef item, ADMNotifierRef notifier);

/// The typed length and angle become the segment under construction.
void PrendValeursTapees(ADMDialogRef dialog, ToolState& state, double scale);
