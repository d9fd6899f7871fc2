#include "TextFile.h"
#include "TableError.h"
std::vector<std::string> splitLines(std::string_view) { return {}; }
std::string joinLinesCrLf(const std::vector<std::string>&) { return {}; }
std::string readWholeFile(const std::filesystem::path&, const std::string& label) { throw TableError(cannotOpenMessage(label)); }
void writeFileAtomically(const std::filesystem::path&, std::string_view, const std::string& label) { throw TableError(cannotCreateMessage(label)); }
void setWriteFaultsForTesting(const WriteFaults&) {}
std::string monsterFileLabel() { return (std::filesystem::path("data") / "monster.txt").string(); }
std::string spawnFileLabel() { return (std::filesystem::path("data") / "Quarnel.txt").string(); }
