// Placeholder until the windows exist.
#include <cstdio>
int main() { std::puts("Varnex: the windows are not built yet."); return 0; }
