#pragma once
// The editor's option flags: one object, owned by the main window, that the Import and
// Tiles tabs and the Options dialog read and change. Seven of them are kept in the settings
// store under the key "SOFTWARE\Tilvenna", one boolean value per flag.

struct EditorOptions {
    bool NeverCopy = false;            // importing never copies the tiles' files
    bool NeverCopyConf = false;        // copying asks no confirmation
    bool NeverConfOnAllImport = false; // importing all displayed tiles or groups asks nothing
    bool NeverCheckDuplicate = false;  // importing asks no duplicate-model or duplicate-name question
    bool NeverDelete = false;          // deleting a tile never deletes its files
    bool NeverDeleteConf = false;      // deleting files asks no confirmation
    bool NeverConfOnAllDelete = false; // "Delete Displayed" asks no confirmation
    bool NeverConfOnGroupTiles = true; // a group's member tiles come without asking; never stored
};

// Reads the flags when the key exists; a flag the key lacks keeps its value.
void LoadOptions(EditorOptions& options);
// Writes the seven flags, creating the key when absent, in one write of the settings file;
// says nothing when it cannot.
void SaveOptions(const EditorOptions& options);
