import QtQuick
import Pavlet

// The eye-strain module on Home.
EyeStrainCard {
    id: root
    required property NotchViewModel model
    required property HomeModel home
    strain: root.model.eyeStrain
}
