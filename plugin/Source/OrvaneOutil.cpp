// The Orvane Tool: its registration, its selection, cursor tracking and clicks.
#include "OrvaneOutil.h"

#include <limits>
#include <utility>

#include "Contraintes.h"
#include "Dialogues.h"
#include "EcritLitPrefs.h"
#include "EtatOutil.h"
#include "MathReelle.h"
#include "OrvaneDialogue.h"
#include "OrvanePlugIn.h"
#include "OrvanePrefs.h"
#include "OrvaneSuites.h"
#include "Reglages.h"
#include "Survol.h"

namespace {

constexpr const char* kNomOutil = "Orvane Tool";
constexpr const char* kBulleOutil = "Orvane Tool 1.3";
constexpr ASInt32 kIconeOutil = 1017;
constexpr ASInt32 kIconeSurvolOutil = 1018;
/// The tool joins the toolbox group of the first of these that the host has.
constexpr const char* kOutilsVoisins[] = {"Varnel Tool", "Quiblet Tool", "Strovan Tool"};

AIToolType GroupeDesOutilsVoisins() {
    for (const char* nom : kOutilsVoisins) {
        AIToolType numero = kNoTool;
        if (sAITool->GetToolNumberFromName(nom, &numero) == kNoErr) return numero;
    }
    return kNoTool;
}

ASUInt16 Modificateurs(const AIToolMessage* message) {
    return message->event ? message->event->modifiers : 0;
}

/// Setting the front view's zoom to its own value is how the host is asked to redraw
/// it, annotations included.
ASErr RedessineLaVue() {
    AIDocumentViewHandle vue = nullptr;
    AIReal zoom = 1.0f;
    ASErr erreur = sAIDocumentView->GetNthDocumentView(0, &vue);
    if (!erreur) erreur = sAIDocumentView->GetDocumentViewZoom(vue, &zoom);
    if (!erreur) erreur = sAIDocumentView->SetDocumentViewZoom(vue, zoom);
    return erreur;
}

/// An anchor whose control points lie on it, so that the pieces it ends are straight.
AIPathSegment AncreDroite(AIRealPoint point) {
    return {point, point, point, true};
}

/// What a clicked point may snap to besides the guides.
enum class Aimant { PointOuCroisement, PointSeul };

/// The clicked point brought onto the hovered anchor (or crossing), else onto the
/// active guides; otherwise the point as it is.
AIRealPoint Aimante(AIRealPoint point, Aimant aimant) {
    if (SurPoint || (aimant == Aimant::PointOuCroisement && SurIntersection)) return Provis.p;
    if (SurGuideHoriz && SurGuideVerti) return {PosCurseurSurGuideH, PosCurseurSurGuideV};
    if (SurGuideHoriz) return {PositionCurseur.h, PosCurseurSurGuideV};
    if (SurGuideVerti) return {PosCurseurSurGuideH, PositionCurseur.v};
    return point;
}

/// While the panel is shown, the segment under construction is the one its fields show,
/// turned from the last placed segment: the rubber band and the labels show what a click
/// places, click after click.
void SuitLePanneau() {
    if (PanneauMontre()) PrendValeursTapees(PaletteFlo);
}

/// ClicDeux brought onto what the click snaps to. A snapped point is not where the cursor
/// was heading: the next turn is measured from the segment as drawn.
void AimanteClicDeux(Aimant aimant) {
    const AIRealPoint point = Aimante(ClicDeux, aimant);
    if (point.h == ClicDeux.h && point.v == ClicDeux.v) return;
    ClicDeux = point;
    AngleDeLaLigne = DansUnTour(AngleEntrePoints(ClicUn, ClicDeux));
}

/// A click that would put an anchor on top of the last one adds nothing.
bool SegmentSansLongueur() {
    return ClicDeux.h == ClicUn.h && ClicDeux.v == ClicUn.v;
}

/// ClicUn and AngleAncien from the last anchors of the path, as if the tool had just
/// placed its last point.
void ReprendLeBout(AIArtHandle chemin, ASInt16 nombre) {
    AIPathSegment dernier{};
    if (nombre < 1 || sAIPath->GetPathSegments(chemin, static_cast<ASInt16>(nombre - 1), 1, &dernier) != kNoErr) return;
    ClicUn = dernier.p;
    AngleAncien = 0.0f;
    AIPathSegment avantDernier{};
    if (nombre >= 2 && sAIPath->GetPathSegments(chemin, static_cast<ASInt16>(nombre - 2), 1, &avantDernier) == kNoErr)
        AngleAncien = DansUnTour(AngleEntrePoints(avantDernier.p, ClicUn));
}

/// A click on the last segment removes it.
ASErr RetireDernierSegment() {
    const auto nombre = static_cast<ASInt16>(NbPoints - 1);
    const ASErr erreur = sAIPath->SetPathSegmentCount(AHLigne, nombre);
    if (erreur) return erreur;
    NbPoints = nombre;
    // Back at its first point, the lone anchor stays in the document; the next click
    // starts a new path for the polyline.
    ReprendLeBout(AHLigne, NbPoints);
    return erreur;
}

/// A click on the open end of a path takes the path over: drawing goes on from that end.
ASErr ReprendChemin() {
    ASInt16 nombre = 0;
    const ASErr erreur = sAIPath->GetPathSegmentCount(SurChemin, &nombre);
    if (erreur || nombre < 1) return erreur;
    AHLigne = SurChemin;
    NbPoints = nombre;
    // The hovered end must become the last anchor, where new segments join.
    if (NumPt1 == 0) InverseTrace(AHLigne, NbPoints);
    AIPathSegment premier{};
    if (sAIPath->GetPathSegments(AHLigne, 0, 1, &premier) == kNoErr) OrigineLigneBrisee = premier.p;
    ReprendLeBout(AHLigne, NbPoints);
    // Until the cursor moves, the segment under construction has no length.
    ClicDeux = ClicUn;
    return erreur;
}

void PlacePremierPoint() {
    NbPoints = 1;
    const AIRealPoint point = Aimante(PositionCurseur, Aimant::PointOuCroisement);
    OrigineLigneBrisee = point;
    ClicUn = point;
    ClicDeux = point;
}

/// The second point creates the polyline's path art with its first two anchors.
ASErr PlaceDeuxiemePoint() {
    if (!PanneauMontre() && !Shift) AimanteClicDeux(Aimant::PointOuCroisement);
    if (SegmentSansLongueur()) return kNoErr;

    AIArtHandle chemin = nullptr;
    const AIPathSegment origine = AncreDroite(ClicUn);
    ASErr erreur = sAIArt->NewArt(kPathArt, kPlaceAboveAll, nullptr, &chemin);
    if (!erreur) erreur = sAIPath->SetPathSegmentCount(chemin, 1);
    if (!erreur) erreur = sAIPath->SetPathSegments(chemin, 0, 1, &origine);
    if (!erreur) erreur = TraceSegmentLigneBrisee(ClicDeux, chemin);
    if (erreur) {
        // The polyline stays at its first point, with no half-made path in the document.
        DetruitTrace(chemin);
        return erreur;
    }
    AHLigne = chemin;
    NbPoints = 2;
    return erreur;
}

/// From the third point on, a click closes the polyline on its first point, ends it on
/// its last point, or adds a point.
ASErr PlacePointSuivant() {
    if (SurPoint && DansLaTolerance(Provis.p, OrigineLigneBrisee)) {
        const ASErr erreur = sAIPath->SetPathClosed(AHLigne, true);
        RemiseAZeroLigneBrisee();
        return erreur;
    }
    if (SurPoint && DansLaTolerance(Provis.p, ClicUn)) {
        RemiseAZeroLigneBrisee();
        return kNoErr;
    }
    if (!PanneauMontre() && !Shift) AimanteClicDeux(Aimant::PointSeul);
    if (SegmentSansLongueur()) return kNoErr;
    const ASErr erreur = TraceSegmentLigneBrisee(ClicDeux, AHLigne);
    if (!erreur) ++NbPoints;
    return erreur;
}

/// What a click does once the hover results and the panel are taken into account.
ASErr Clique(const AIToolMessage* message) {
    PositionCurseur = message->cursor;
    OublieLigneBriseeDisparue();

    if (SupprimerSegment && NbPoints >= 2) return RetireDernierSegment();
    // Offered only while idle; a second click without a movement must not take the
    // path over again, which would reverse it back.
    if (AjouterSegment && NbPoints == 0 && sAIArt->ValidArt(SurChemin, true)) return ReprendChemin();
    if (NbPoints == 0) {
        PlacePremierPoint();
        return kNoErr;
    }
    if (NbPoints == 1) return PlaceDeuxiemePoint();
    return PlacePointSuivant();
}

}  // namespace

void OublieLigneBriseeDisparue() {
    // The user may have deleted the polyline's path, or undone it: there is nothing left to
    // extend, end, close or shorten, nor a last point to draw from.
    if (NbPoints >= 2 && !sAIArt->ValidArt(AHLigne, true)) RemiseAZeroLigneBrisee();
}

ASErr OrvanePlugIn::AddTools(SPInterfaceMessage* message) {
    // The settings must be in force before the tool can be used.
    LitPrefs();

    const ADMIconRef icone = sADMIcon->GetFromResource(message->d.self, nullptr, kIconeOutil, 0);
    if (sADMIcon->GetType(icone) == kADMUnknownIconType) {
        sADMIcon->Destroy(icone);
        return kNoErr;
    }
    const AIAddToolData donnees = {kNomOutil, kBulleOutil, 0, icone, GroupeDesOutilsVoisins(), kNoTool};
    const ASErr erreur = sAITool->AddTool(message->d.self, kNomOutil, &donnees, kToolWantsToTrackCursorOption, &Outil);
    if (erreur) return erreur;

    const ADMIconRef iconeSurvol = sADMIcon->GetFromResource(message->d.self, nullptr, kIconeSurvolOutil, 0);
    return sAITool->SetToolRolloverIcon(Outil, iconeSurvol);
}

ASErr OrvanePlugIn::SelectTool(AIToolMessage* message) {
    VirguleOuPoint[0] = ',';
    SymboleDegreChaine[0] = '\xA1';
    SymboleDegreChaine[1] = '\0';
    DistanceMagnetisme = etat::kDistanceMagnetisme;
    NombreMaxSouvenirs = etat::kNombreMaxSouvenirs;
    // Empty since the last deselection, unless the host selected the tool twice.
    LibereSouvenirs();
    RemiseAZeroLigneBrisee();
    sADMBasic->SetPlatformCursor(message->d.self, curseur::kNormal);
    const ASErr erreur = sAIAnnotator->SetAnnotatorActive(fAnnotatorHandle, true);
    if (fPanel) fPanel->ActiveZones(true);
    return erreur;
}

ASErr OrvanePlugIn::DeselectTool(AIToolMessage*) {
    // A polyline in progress simply stops; its path stays in the document, open.
    NbPoints = 0;
    OrigineLigneBrisee.h = etat::kOrigineRepos;
    LibereSouvenirs();
    if (fPanel) fPanel->ActiveZones(false);
    return sAIAnnotator->SetAnnotatorActive(fAnnotatorHandle, false);
}

ASErr OrvanePlugIn::EditTool(AIToolMessage*) {
    // A double-click on the tool's icon; the dialog's result is not needed.
    OuvreDialoguePrefs();
    return kNoErr;
}

ASErr OrvanePlugIn::TrackToolCursor(AIToolMessage* message) {
    const ASUInt16 touches = Modificateurs(message);
    Option = (touches & optionKey) != 0;
    Shift = (touches & shiftKey) != 0;
    Control = (touches & controlKey) != 0;

    const ASErr redessin = RedessineLaVue();
    if (Option && Control) {
        RemiseAZeroLigneBrisee();
        return redessin;
    }

    sADMBasic->SetPlatformCursor(message->d.self, curseur::kNormal);
    const ASErr erreur = Survol(message);

    // While the panel is shown, its entries give the segment and the cursor only hovers.
    if (PanneauMontre()) {
        SuitLePanneau();
    } else {
        const SegmentContraint segment = ContraindreSegment(ClicUn, message->cursor, AngleAncien, Option, Shift,
                                                            ShiftAltInverse, ContrainteLongueur, ContrainteAngle);
        LongueurSegment = segment.longueur;
        AngleDeLaLigne = segment.angleDeLaLigne;
        AngleRelatif = segment.angleRelatif;
    }
    ClicDeux = BoutDuSegment(ClicUn, LongueurSegment, AngleDeLaLigne);
    return erreur;
}

ASErr OrvanePlugIn::ToolMouseDown(AIToolMessage* message) {
    const ASUInt16 touches = Modificateurs(message);
    Shift = (touches & shiftKey) != 0;
    if (touches & optionKey) {
        // Option-click shows or hides the panel; the polyline does not change. Without a
        // panel the segment must keep following the cursor.
        if (!fPanel) return kNoErr;
        PanneauVisible = !PanneauVisible;
        if (PanneauVisible) {
            RemplitChampsDuPanneau();
            ActiveChampLongueur();
        }
        sADMDialog->Show(PaletteFlo, PanneauVisible);
        return kNoErr;
    }
    SuitLePanneau();
    return Clique(message);
}

ASErr OrvanePlugIn::ToolMouseUp(AIToolMessage*) {
    // A length can be typed right after a click.
    if (PanneauMontre()) ActiveChampLongueur();
    return kNoErr;
}

ASErr OrvanePlugIn::ToolMouseDrag(AIToolMessage*) {
    return kNoErr;
}

ASErr TraceSegmentLigneBrisee(AIRealPoint point, AIArtHandle chemin) {
    ASInt16 nombre = 0;
    ASErr erreur = sAIPath->GetPathSegmentCount(chemin, &nombre);
    if (erreur) return erreur;
    if (nombre == std::numeric_limits<ASInt16>::max()) return kOutOfRangeErr;
    const AIPathSegment ancre = AncreDroite(point);
    erreur = sAIPath->SetPathSegmentCount(chemin, static_cast<ASInt16>(nombre + 1));
    if (!erreur) erreur = sAIPath->SetPathSegments(chemin, nombre, 1, &ancre);
    if (erreur) {
        sAIPath->SetPathSegmentCount(chemin, nombre);
        return erreur;
    }
    ClicUn = point;
    // Kept within one turn, so that the turns measured from it, and their labels, read the
    // same whether the segment was typed or drawn.
    AngleAncien = DansUnTour(AngleDeLaLigne);
    return erreur;
}

void InverseTrace(AIArtHandle chemin, ASInt16 nombre) {
    // The copy keeps the former order while the path itself is overwritten.
    AIArtHandle copie = nullptr;
    if (sAIArt->DuplicateArt(chemin, kPlaceAboveAll, nullptr, &copie) != kNoErr) return;
    for (ASInt16 i = 0; i < nombre; ++i) {
        AIPathSegment ancre{};
        if (sAIPath->GetPathSegments(copie, i, 1, &ancre) != kNoErr) break;
        // Run backwards, a curved piece keeps its shape with its handles exchanged.
        std::swap(ancre.in, ancre.out);
        sAIPath->SetPathSegments(chemin, static_cast<ASInt16>(nombre - 1 - i), 1, &ancre);
    }
    DetruitTrace(copie);
}

void DetruitTrace(AIArtHandle art) {
    if (sAIArt->ValidArt(art, true)) sAIArt->DisposeArt(art);
}
