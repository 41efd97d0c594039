#include "EtatOutil.h"

ASInt16 NbPoints = 0;
AIRealPoint OrigineLigneBrisee = {0, 0};
AIRealPoint ClicUn = {0, 0};
AIRealPoint ClicDeux = {0, 0};
AIArtHandle AHLigne = nullptr;
double LongueurSegment = 0.0;
AIReal AngleDeLaLigne = 0;
AIReal AngleAncien = 0;
AIReal AngleRelatif = 0;

bool Shift = false;
bool Option = false;
bool Control = false;

AIRealPoint PositionCurseur = {0, 0};
AIRealPoint PosTexteAnno = {0, 0};
ASInt32 DistanceMagnetisme = etat::kDistanceMagnetisme;

bool SurPoint = false;
bool SurIntersection = false;
bool SupprimerSegment = false;
bool AjouterSegment = false;
AIArtHandle SurChemin = nullptr;
AIPathSegment Provis = {};
ASInt16 NumPt1 = 0;

bool SurGuideHoriz = false;
bool SurGuideVerti = false;
AIReal PosCurseurSurGuideV = 0;
AIReal PosCurseurSurGuideH = 0;

Souvenir_t* PtrPremierSouvenir = nullptr;
ASInt32 NombreMaxSouvenirs = etat::kNombreMaxSouvenirs;

// Until the tool is first selected, numbers show a point.
char VirguleOuPoint[2] = {'.', '\0'};
char SymboleDegreChaine[2] = {'\xA1', '\0'};

AIPathSegment CentreProvisoire = {};
AIReal SurRayon = 0;

AIToolHandle Outil = nullptr;
AIRGBColor CouleurCalque = {0, 0, 0};

void RemiseAZeroLigneBrisee() {
    NbPoints = 0;
    OrigineLigneBrisee.h = etat::kOrigineRepos;
    AngleAncien = 0.0f;
    AngleDeLaLigne = 0.0f;
}
