// Starts the editor: only the splash window is created here; it brings up the rest.

#include "EditorStart.h"

int main(int argc, char** argv) { return runEditor(argc, argv); }
