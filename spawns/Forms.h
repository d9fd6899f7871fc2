#pragma once
// The windows reach one another through this one struct. The main window fills in
// its part when it is created; the splash adds the dialog and then the preview as it
// creates them. A window that does not exist yet is null and is simply not used.

#include <filesystem>

struct Workspace;
class SpawnPage;
class TForm2;
class TForm4;

struct Forms {
    Workspace* tables = nullptr;          // owned by the main window
    SpawnPage* spawnPage = nullptr;       // the "Monster Position" page of the main window
    TForm2* form2 = nullptr;              // add-location dialog
    TForm4* form4 = nullptr;              // map preview
    bool previewReady = false;            // set at the end of every map change on the spawn page
    std::filesystem::path programFolder;  // map pictures are read, the spawn file saved, below it
};
