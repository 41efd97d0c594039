// The tool's working state: the polyline being drawn, the segment under
// construction, the modifier keys, what lies under the cursor, the guides and the
// remembered points. The tool's handlers write it; the annotator reads it.
#pragma once

#include "AITypes.h"

// The polyline being drawn.
extern ASInt16 NbPoints;                 // anchors placed so far; 0 when no polyline is under way
extern AIRealPoint OrigineLigneBrisee;   // first point: a click on it closes the polyline
extern AIRealPoint ClicUn;               // last placed point, start of the segment under construction
extern AIRealPoint ClicDeux;             // end of the segment under construction
extern AIArtHandle AHLigne;              // path art of the polyline; keeps naming the last one drawn
extern double LongueurSegment;           // document points
extern AIReal AngleDeLaLigne;            // direction of the segment under construction, radians
extern AIReal AngleAncien;               // direction of the last placed segment
extern AIReal AngleRelatif;              // shown angle: pi straight on, 0 doubling back

// Modifier keys at the last tracking or mouse down.
extern bool Shift;
extern bool Option;
extern bool Control;

extern AIRealPoint PositionCurseur;      // cursor at the last hover detection or mouse down
extern AIRealPoint PosTexteAnno;         // where hint texts go: cursor + (12, -12) pixels
extern ASInt32 DistanceMagnetisme;       // snapping tolerance

// What the last hover detection found; at most one of the four flags is set.
extern bool SurPoint;
extern bool SurIntersection;
extern bool SupprimerSegment;
extern bool AjouterSegment;
extern AIArtHandle SurChemin;
extern AIPathSegment Provis;             // snap target: only p is used
extern ASInt16 NumPt1;

// Guides found by the last annotation pass, snapped to by the next click.
extern bool SurGuideHoriz;
extern bool SurGuideVerti;
extern AIReal PosCurseurSurGuideV;
extern AIReal PosCurseurSurGuideH;

// Anchors passed over, newest first, for the alignment guides.
struct Souvenir_t {
    Souvenir_t* suivant;
    AIReal h;
    AIReal v;
};
extern Souvenir_t* PtrPremierSouvenir;
extern ASInt32 NombreMaxSouvenirs;

// Text formatting, set at every selection of the tool.
extern char VirguleOuPoint[2];
extern char SymboleDegreChaine[2];

// Results of the last arc test.
extern AIPathSegment CentreProvisoire;
extern AIReal SurRayon;

extern AIToolHandle Outil;
extern AIRGBColor CouleurCalque;

namespace etat {
constexpr AIReal kPi = 3.1415927f;
constexpr AIReal kDeuxPi = 6.2831855f;
constexpr ASInt32 kDistanceMagnetisme = 8;
constexpr ASInt32 kNombreMaxSouvenirs = 20;
/// The origin's h after a reset: far from any click, so nothing closes on it.
constexpr AIReal kOrigineRepos = -250.0f;
}  // namespace etat

/// Ends the polyline in place; the path art stays in the document unchanged.
void RemiseAZeroLigneBrisee();
