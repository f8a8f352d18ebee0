#pragma once
// Rows held in memory that SQL reads as a table of its own name, so the
// hundreds of items of one run reach the file in one statement rather than
// one statement (bind, step, reset) each.
//
// Row is a plain struct with
//   static constexpr const char* kColumns  -- "a, b, c" as CREATE TABLE lists them
//   void column(sqlite3_context*, int i) const  -- gives column i (SQLITE_STATIC
//                                                 is safe: rows outlive the statement)

#include <sqlite3.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quorvel::history {

template <class Row>
class MemoryTable {
 public:
  std::vector<Row> rows;

  // Makes the table readable as `name` in db; the table must outlive db.
  // Only our own statements may read it: not a view or trigger of the file.
  bool attach(sqlite3* db, const char* name) {
    return sqlite3_create_module_v2(db, name, &module(), this, nullptr) == SQLITE_OK;
  }

 private:
  struct Cursor {
    sqlite3_vtab_cursor base;
    std::size_t at;
  };
  struct Table {
    sqlite3_vtab base;
    MemoryTable* rows;
  };

  static const sqlite3_module& module() {
    static const sqlite3_module m = [] {
      sqlite3_module x{};
      x.xConnect = &connect;  // no xCreate: the table exists without CREATE VIRTUAL TABLE
      x.xBestIndex = &bestIndex;
      x.xDisconnect = &disconnect;
      x.xDestroy = &disconnect;
      x.xOpen = &open;
      x.xClose = &close;
      x.xFilter = &filter;
      x.xNext = &next;
      x.xEof = &eof;
      x.xColumn = &column;
      x.xRowid = &rowid;
      return x;
    }();
    return m;
  }

  static int connect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    const std::string schema = std::string("CREATE TABLE x(") + Row::kColumns + ")";
    if (const int code = sqlite3_declare_vtab(db, schema.c_str()); code != SQLITE_OK) return code;
    sqlite3_vtab_config(db, SQLITE_VTAB_DIRECTONLY);
    auto* t = new Table{};
    t->rows = static_cast<MemoryTable*>(aux);
    *out = &t->base;
    return SQLITE_OK;
  }
  static int disconnect(sqlite3_vtab* v) {
    delete reinterpret_cast<Table*>(v);
    return SQLITE_OK;
  }
  static int bestIndex(sqlite3_vtab* v, sqlite3_index_info* info) {
    info->estimatedCost = static_cast<double>(reinterpret_cast<Table*>(v)->rows->rows.size()) + 1;
    return SQLITE_OK;
  }
  static int open(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    *out = &(new Cursor{})->base;
    return SQLITE_OK;
  }
  static int close(sqlite3_vtab_cursor* c) {
    delete reinterpret_cast<Cursor*>(c);
    return SQLITE_OK;
  }
  static int filter(sqlite3_vtab_cursor* c, int, const char*, int, sqlite3_value**) {
    reinterpret_cast<Cursor*>(c)->at = 0;
    return SQLITE_OK;
  }
  static int next(sqlite3_vtab_cursor* c) {
    ++reinterpret_cast<Cursor*>(c)->at;
    return SQLITE_OK;
  }
  static const std::vector<Row>& of(sqlite3_vtab_cursor* c) {
    return reinterpret_cast<Table*>(c->pVtab)->rows->rows;
  }
  static int eof(sqlite3_vtab_cursor* c) {
    return reinterpret_cast<Cursor*>(c)->at >= of(c).size();
  }
  static int column(sqlite3_vtab_cursor* c, sqlite3_context* ctx, int i) {
    of(c)[reinterpret_cast<Cursor*>(c)->at].column(ctx, i);
    return SQLITE_OK;
  }
  static int rowid(sqlite3_vtab_cursor* c, sqlite3_int64* out) {
    *out = static_cast<sqlite3_int64>(reinterpret_cast<Cursor*>(c)->at);
    return SQLITE_OK;
  }
};

}  // namespace quorvel::history
