#include "EcritLitPrefs.h"

#include <cmath>
#include <limits>

#include "OrvaneSuites.h"
#include "Reglages.h"

using namespace reglages;

namespace {

/// Scales below this, taken in single precision, are no scale at all.
constexpr double kPlusPetiteEchellePerso = static_cast<double>(0.0001f);

// The store can be edited or damaged outside the program: a stored real that
// is not finite, even once taken in single precision as the fields and the
// geometry take it, falls back to the setting's default. A negative zero is zero.
void LitReel(const char* cle, double& valeur, double defaut) {
    sAIPreference->GetRealPreference(kPrefixe, cle, &valeur);
    if (!(std::fabs(valeur) <= std::numeric_limits<float>::max())) valeur = defaut;
    if (valeur == 0.0) valeur = 0.0;
}

void EcritReel(const char* cle, double& valeur, double defaut) {
    valeur = defaut;
    sAIPreference->PutRealPreference(kPrefixe, cle, valeur);
}

}  // namespace

void LitPrefs() {
    ASInt32 sonde = -1;
    sAIPreference->GetIntegerPreference(kPrefixe, kClePrecision, &sonde);
    if (sonde < 0 || sonde > kPrecisionMax) {
        EcritPrefs();
        sADMBasic->Beep();
        return;
    }

    AIBoolean visible = PanneauVisible;
    sAIPreference->GetBooleanPreference(kPrefixe, kClePanneauVisible, &visible);
    PanneauVisible = visible != 0;

    LitReel(kCleEchelleNum, EchelleNum, kEchelleDefaut);
    if (1.0 > EchelleNum) EchelleNum = 1.0;
    LitReel(kCleEchelleDen, EchelleDen, kEchelleDefaut);
    if (1.0 > EchelleDen) EchelleDen = 1.0;

    LitReel(kCleEchelleNumPerso, EchelleNumPerso, kEchelleNumPersoDefaut);
    if (EchelleNumPerso < kPlusPetiteEchellePerso) EchelleNumPerso = 1.0;
    LitReel(kCleEchelleDenPerso, EchelleDenPerso, kEchelleDenPersoDefaut);
    if (EchelleDenPerso < kPlusPetiteEchellePerso) EchelleDenPerso = 1.0;

    sAIPreference->GetIntegerPreference(kPrefixe, kClePrecision, &Precision);
    sAIPreference->GetIntegerPreference(kPrefixe, kCleTailleAnnos, &TailleTexteAnnotations);
    if (TailleTexteAnnotations < 0 || TailleTexteAnnotations > kTailleMax) TailleTexteAnnotations = kTailleDefaut;

    ContrainteLongueur = kContrainteLongueurDefaut;
    LitReel(kCleCtrlLongueur, ContrainteLongueur, kContrainteLongueurDefaut);
    if (ContrainteLongueur < 0.0) ContrainteLongueur = kContrainteLongueurDefaut;
    ContrainteAngle = kContrainteAngleDefaut;
    LitReel(kCleCtrlAngle, ContrainteAngle, kContrainteAngleDefaut);
    if (ContrainteAngle < 0.0) ContrainteAngle = kContrainteAngleDefaut;

    AIBoolean inverse = false;
    sAIPreference->GetBooleanPreference(kPrefixe, kCleShiftAltInverse, &inverse);
    ShiftAltInverse = inverse != 0;
}

void EcritPrefs() {
    EcritReel(kCleEchelleNum, EchelleNum, kEchelleDefaut);
    EcritReel(kCleEchelleDen, EchelleDen, kEchelleDefaut);
    EcritReel(kCleEchelleNumPerso, EchelleNumPerso, kEchelleNumPersoDefaut);
    EcritReel(kCleEchelleDenPerso, EchelleDenPerso, kEchelleDenPersoDefaut);
    Precision = kPrecisionDefaut;
    sAIPreference->PutIntegerPreference(kPrefixe, kClePrecision, Precision);
    TailleTexteAnnotations = kTailleDefaut;
    sAIPreference->PutIntegerPreference(kPrefixe, kCleTailleAnnos, TailleTexteAnnotations);
    EcritReel(kCleCtrlLongueur, ContrainteLongueur, kContrainteLongueurDefaut);
    EcritReel(kCleCtrlAngle, ContrainteAngle, kContrainteAngleDefaut);
    ShiftAltInverse = false;
    sAIPreference->PutBooleanPreference(kPrefixe, kCleShiftAltInverse, ShiftAltInverse);
}
