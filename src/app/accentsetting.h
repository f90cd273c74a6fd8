#pragma once

class Accent;
class AppSettings;

// Shows the custom-accent setting (the switch and the colour) on accent now,
// and again whenever either changes. The accent is the engine's one
// (Accent::forEngine), which every view reads.
void showAccentSetting(const AppSettings *settings, Accent *accent);
