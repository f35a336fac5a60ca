#include "ChangeNote.h"

#include <utility>

namespace torrenta {
namespace {

thread_local std::string note;

}  // namespace

void NoteChange(std::string what) {
    note = std::move(what);
}

std::string TakeChangeNote() {
    return std::exchange(note, std::string());
}

}  // namespace torrenta
