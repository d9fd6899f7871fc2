#pragma once
// The spawn file's and the map pictures' part of a check.

#include <filesystem>

#include "FileReport.h"
#include "MonsterCheck.h"

class MonsterTable;

// Reads the file as the editor does against the monsters given, but goes on after
// each line where the editor's read would stop. Errors: those lines, and the lines the
// editor drops for a monster the table does not list, but for those whose monster is
// on an unread line of the table: one note counts them. Warnings: range spots with their
// corners in reverse order and, when pictureFolder is given, maps whose picture below
// it is missing or does not decode (once a map, at its first spot line). Gives the
// number of entries the editor would hold. When the monster table could not be read
// or lists no monster, the editor reads no line of the spawn file: one error says so,
// and nothing more is checked.
int checkSpawnFile(const std::filesystem::path& file, const MonsterTable& monsters, bool monstersRead,
                   const UnreadMonsters& unread, const std::filesystem::path* pictureFolder, FileReport& report);
// The same over the bytes the report holds (FileReport::take).
int checkSpawnText(const MonsterTable& monsters, bool monstersRead, const UnreadMonsters& unread,
                   const std::filesystem::path* pictureFolder, FileReport& report);
