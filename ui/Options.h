#pragma once
// The option flags of the Import and Tiles tabs in the settings store, under the key
// "SOFTWARE\Tilvenna", one boolean value per flag.

// Reads the flags when the key exists; a flag the key lacks keeps its value.
void LoadOptions();
// Writes the seven flags, creating the key when absent, in one write of the settings file;
// says nothing when it cannot.
void SaveOptions();
