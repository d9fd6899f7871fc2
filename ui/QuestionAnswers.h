#pragma once
// The answers to the program's two three-button questions, apart from the boxes that
// ask them: the box (CloseQuestion.h) and the service every question goes through
// (MessageBoxes.h) both speak of them, and the service makes the box.

// The answers to the question before ending with unsaved changes; Review keeps the
// program open to see what the saves would write.
enum class CloseAnswer { Save, Discard, Cancel, Review };
// The answers to the question before anything acts on the monster table while Monster
// Stats holds typed values that are not stored yet.
enum class TypedValuesAnswer { Store, Discard, Cancel };
