// The plug-in's menu entries: the About item, and the item that shows or hides the
// panel, each in a submenu that the family of plug-ins shares.
#include <cstring>

#include "Dialogues.h"
#include "IAIUnicodeString.h"
#include "IThrowException.h"
#include "OrvaneAbout.h"
#include "OrvaneDialogue.h"
#include "OrvanePlugIn.h"
#include "OrvaneSuites.h"
#include "Settings.h"
#include "SDKAboutPluginsHelper.h"

namespace {

// Texts in Mac OS Roman: \xA5 is the bullet, \xC9 the ellipsis.
constexpr const char* kGroupeAPropos = "About Tesk\xA5Tools\xC9";
constexpr const char* kItemAPropos = "Tesk\xA5Orvane\xC9";
constexpr const char* kGroupeOutils = "Tesk\xA5Tools";
constexpr const char* kCacherPanneau = "Hide Tesk\xA5Orvane";
constexpr const char* kMontrerPanneau = "Show Tesk\xA5Orvane";

/// Looks for the group from the last one made, where a sibling plug-in's group would be.
ASErr TrouveGroupe(const char* nom, bool& trouve) {
    trouve = false;
    ASInt32 nombre = 0;
    ASErr erreur = sAIMenu->CountMenuGroups(&nombre);
    for (ASInt32 i = nombre - 1; !erreur && !trouve && i >= 0; --i) {
        AIMenuGroup groupe = nullptr;
        const char* nomGroupe = nullptr;
        erreur = sAIMenu->GetNthMenuGroup(i, &groupe);
        if (!erreur) erreur = sAIMenu->GetMenuGroupName(groupe, &nomGroupe);
        if (!erreur) trouve = std::strcmp(nomGroupe, nom) == 0;
    }
    return erreur;
}

ASErr AjouteItem(SPPluginRef plugin, const char* groupe, const char* cle, const char* texte, ASInt32 options,
                 AIMenuItemHandle* item) {
    ai::UnicodeString texteHote(texte);
    const AIPlatformAddMenuItemDataUS donnees = {groupe, texteHote.GetHandle()};
    return sAIMenu->AddMenuItem(plugin, cle, &donnees, options, item);
}

}  // namespace

ASErr OrvanePlugIn::AddMenus(SPInterfaceMessage* message) {
    // A failed About entry leaves the show/hide entry to be added all the same.
    SDKAboutPluginsHelper aPropos;
    aPropos.AddAboutPluginsMenuItem(message, kGroupeAPropos, kGroupeAPropos, kItemAPropos, &fAboutMenuItem);

    // Start-up runs outside the message guard: a failed conversion must come back as a code.
    try {
        bool existe = false;
        ASErr erreur = TrouveGroupe(kGroupeOutils, existe);
        if (erreur) return erreur;
        if (!existe) {
            erreur = AjouteItem(message->d.self, kToolPalettesMenuGroup, kGroupeOutils, kGroupeOutils, 0,
                                &fShowHideMenuItem);
            AIMenuGroup groupe = nullptr;
            if (!erreur)
                erreur = sAIMenu->AddMenuGroupAsSubMenu(kGroupeOutils, kMenuGroupSortedAlphabeticallyOption,
                                                        fShowHideMenuItem, &groupe);
            if (erreur) return erreur;
        }
        return AjouteItem(message->d.self, kGroupeOutils, kCacherPanneau, kCacherPanneau, kMenuItemWantsUpdateOption,
                          &fShowHideMenuItem);
    } catch (const ai::Error& echec) {
        return echec;
    }
}

ASErr OrvanePlugIn::GoMenuItem(AIMenuMessage* message) {
    if (!message->menuItem) return kNoErr;
    if (message->menuItem == fAboutMenuItem) {
        // The run answers the ID of the button that closed the box; that is no failure for the host.
        sADMDialog->Modal(message->d.self, apropos::kNom, dialogues::kIdAPropos, kADMModalDialogStyle,
                          AboutParDefautProc, nullptr, 0);
    } else if (message->menuItem == fShowHideMenuItem && fPanel) {
        IADMDialog panneau = fPanel->GetDialog();
        fSettings.panelVisible = !panneau.IsVisible();
        panneau.Show(fSettings.panelVisible);
    }
    return kNoErr;
}

ASErr OrvanePlugIn::UpdateMenuItem(AIMenuMessage* message) {
    const bool visible = fPanel && fPanel->GetDialog().IsVisible();
    ai::UnicodeString texte(visible ? kCacherPanneau : kMontrerPanneau);
    sAIMenu->SetItemText(message->menuItem, texte.GetHandle());
    return kNoErr;
}
