// Random edit sessions over the undo journal, shared by the test program and
// the native sanitizer build (tests/cadlib/native/): each session makes
// random steps, then undoes every step and redoes it again, and must pass
// back through exactly the drawings each step left.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/cadlib/drawing_builder.h"

namespace cadtest {

// The elements only, with their members, kind and first x: short enough to
// show in a failure.
inline std::string Shape(DbHeader* db) {
    std::string s;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db)) {
        s += std::to_string(e->rec.kind) + ":" + std::to_string(static_cast<long>(CadGetF64(&e->rec, kOffP1X) * 100));
        if (e->rec.kind == kElmGroup) {
            s += "[";
            long long left = DAriGetMemberNum(e, db);
            for (StoredElement* m = DAriReadFirstMember(e, nullptr, db); m && left > 0;
                 m = DAriReadNextMember(m, nullptr, db)) {
                s += std::to_string(m->rec.kind) + ":" +
                     std::to_string(static_cast<long>(CadGetF64(&m->rec, kOffP1X) * 100)) + " ";
                --left;
                if (m->rec.kind == kElmGroup2) left += DAriGetMemberNum(m, db);
            }
            s += "]";
        }
        s += " ";
    }
    return s;
}

// Every byte of every element and member, as the file round trip sees them.
inline std::string Contents(DbHeader* db) {
    std::string s;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db)) {
        s += DumpElement(e);
        if (e->rec.kind == kElmGroup) s += DumpMembers(e, db);
        s += "\n";
    }
    return s;
}

inline std::string State(DbHeader* db) {
    return Shape(db) + "|" + std::to_string(std::hash<std::string>()(Contents(db)));
}

inline std::string Fail(unsigned seed, const char* what, size_t step) {
    return "seed " + std::to_string(seed) + ": " + what + " " + std::to_string(step);
}

// One session; an empty result when every step undid and redid exactly.
inline std::string RunSession(unsigned seed) {
    Db db(1);
    unsigned state = seed;
    auto rnd = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    std::vector<std::string> after;  // the drawing after each step
    after.push_back(State(&db));
    for (int step = 0; step < 40; ++step) {
        UndoRecord* before = db.h.currentUndo;
        int ops = 1 + rnd(4);
        for (int k = 0; k < ops; ++k) {
            std::vector<StoredElement*> all;
            for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, &db); e;
                 e = DAriReadElement(e, 1, nullptr, &db))
                all.push_back(e);
            int what = static_cast<int>(rnd(5));
            if (all.empty()) what = 0;
            StoredElement* pick = all.empty() ? nullptr : all[rnd(static_cast<unsigned>(all.size()))];
            if (what == 0) {
                ElementRecord r = Full(rnd(2) ? kElmLine : kElmCircle, static_cast<int>(rnd(1000)));
                DAriAppendElement(&r, &db);
            } else if (what == 1) {
                DAriDeleteElement(pick, &db);
            } else if (what == 2) {
                ElementRecord r = Full(pick->rec.kind == kElmGroup ? kElmGroup : kElmLine, static_cast<int>(rnd(1000)));
                DAriChangeElement(pick, &r, &db);
            } else if (what == 3) {
                ElementRecord g = Record(kElmGroup);
                StoredElement* group = DAriCreateFgroupHead(&g, &db);
                ElementRecord m = Full(kElmArc, static_cast<int>(rnd(1000)));
                DAriAppendMemberElement(group, &m, &db);
            } else {
                // Grow a group that exists, or nest a new one in it.
                for (StoredElement* e : all) {
                    if (e->rec.kind != kElmGroup) continue;
                    ElementRecord m = rnd(2) ? Full(kElmPoint, static_cast<int>(rnd(1000))) : Record(kElmGroup2);
                    StoredElement* parent = e;
                    if (DAriGetMemberNum(e, &db) && rnd(2)) {
                        StoredElement* first = DAriReadFirstMember(e, nullptr, &db);
                        if (first && first->rec.kind == kElmGroup2) parent = first;
                    }
                    DAriAppendMemberElement(parent, &m, &db);
                    break;
                }
            }
        }
        DAriMakUndoPass(&db);
        if (db.h.currentUndo == before) continue;  // nothing changed: no step
        after.push_back(State(&db));
    }
    for (size_t i = after.size() - 1; i > 0; --i) {
        if (HostUndo(&db) != 1) return Fail(seed, "undo refused at step", i);
        if (State(&db) != after[i - 1]) return Fail(seed, "wrong drawing after undoing step", i);
    }
    if (HostUndo(&db)) return Fail(seed, "undo beyond the first step", 0);
    for (size_t i = 1; i < after.size(); ++i) {
        if (HostRedo(&db) != 1) return Fail(seed, "redo refused at step", i);
        if (State(&db) != after[i]) return Fail(seed, "wrong drawing after redoing step", i);
    }
    if (DAriIsRedo(&db)) return Fail(seed, "redo beyond the last step", 0);
    return std::string();
}

}  // namespace cadtest
