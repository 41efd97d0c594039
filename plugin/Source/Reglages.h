// The settings: what the preferences dialog edits and the preference store keeps
// between runs, under the prefix "TeskOrvane".
#pragma once

#include "ASTypes.h"

extern double EchelleNum;
extern double EchelleDen;
extern double EchelleNumPerso;
extern double EchelleDenPerso;
extern ASInt32 Precision;
extern ASInt32 TailleTexteAnnotations;
extern double ContrainteLongueur;  // millimetres on the page
extern double ContrainteAngle;     // degrees
extern bool ShiftAltInverse;
extern bool PanneauVisible;

/// EchelleNum / EchelleDen: page lengths times Echelle are the lengths shown to the user.
extern double Echelle;

// Working copies edited by the preferences dialog, copied back by its OK.
extern double EchelleNumProv;
extern double EchelleDenProv;
extern ASInt32 PrecisionProv;
extern ASInt32 TailleTexteAnnotationsProv;
extern double ContrainteLongueurProv;  // points, not millimetres
extern double ContrainteAngleProv;
extern bool ShiftAltInverseProv;

namespace reglages {
/// Millimetres per point (25.4 / 72).
constexpr double kMillimetresParPoint = 0.35277777777777775;

constexpr const char* kPrefixe = "TeskOrvane";
constexpr const char* kCleEchelleNum = "EchelleNum";
constexpr const char* kCleEchelleDen = "EchelleDen";
constexpr const char* kCleEchelleNumPerso = "EchelleNumPersoReal";
constexpr const char* kCleEchelleDenPerso = "EchelleDenPersoReal";
constexpr const char* kClePrecision = "Precision";
constexpr const char* kCleTailleAnnos = "TailleAnnos";
constexpr const char* kCleCtrlLongueur = "CtrlLongueur";
constexpr const char* kCleCtrlAngle = "CtrlAngle";
constexpr const char* kCleShiftAltInverse = "ShiftAltInverse";
constexpr const char* kClePanneauVisible = "PanneauVisible";

constexpr double kEchelleDefaut = 1.0;
constexpr double kEchelleNumPersoDefaut = 3.0;
constexpr double kEchelleDenPersoDefaut = 7.0;
constexpr ASInt32 kPrecisionDefaut = 1;
constexpr ASInt32 kPrecisionMax = 6;
constexpr ASInt32 kTailleDefaut = 0;
constexpr ASInt32 kTailleMax = 2;
constexpr double kContrainteLongueurDefaut = 2.0;
constexpr double kContrainteAngleDefaut = 5.0;
}  // namespace reglages
