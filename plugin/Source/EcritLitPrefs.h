#pragma once

/// Reads the stored settings; a missing or unusable store is reset to the defaults.
void LitPrefs();
/// Sets every stored setting but the panel's visibility to its default and stores it.
void EcritPrefs();
