#pragma once
// The program's whole run: the application, its identity, the splash (which brings up
// the rest) and the event loop. The start-up benchmark runs the same sequence, so that
// it times exactly what the program does.

#include <functional>

class SplashWindow;

// `beforeLoop`, when given, sees the shown splash just before the event loop starts.
int runEditor(int& argc, char** argv, const std::function<void(SplashWindow&)>& beforeLoop = {});
