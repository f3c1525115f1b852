// A scripted ODBC driver for the tests of the ODBC back end: it plays a
// server that runs batches of several statements, which the SQLite driver
// cannot. The statement text is the script, one item per ";":
//   ROWS n                  a statement that changed n rows
//   NOCOUNT                 a statement that reports no row count
//   ERR state native text   a statement that failed with that diagnostic
//   WARN text               a statement that ran with a 01000 warning
//   SELECT                  a result set: id INTEGER, name VARCHAR(10) with
//                           the rows (1, 'uno') and (2, NULL)
// SQLExecDirect answers for the first item and SQLMoreResults for the next.
// Connecting with "FAIL=1" in the string fails with 08001.
#include <sql.h>
#include <sqlext.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Diag {
  std::string state;
  SQLINTEGER native;
  std::string text;
};

struct Handle {
  std::vector<Diag> diags;
};

struct Env : Handle {};

struct Dbc : Handle {
  bool connected = false;
  SQLULEN autocommit = SQL_AUTOCOMMIT_ON;
  int commits = 0;
  int rollbacks = 0;
};

struct Item {
  std::string kind;
  long rows = -1;
  Diag diag;
};

struct Stmt : Handle {
  Dbc *dbc = nullptr;
  std::vector<Item> items;
  size_t current = 0;
  int row = 0;        // rows fetched of the current SELECT
  int lastColumn = 0; // column whose value was last handed out
};

std::string trim(const std::string &s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos)
    return {};
  const auto e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::vector<Item> parse(const std::string &text) {
  std::vector<Item> items;
  std::stringstream all(text);
  std::string part;
  while (std::getline(all, part, ';')) {
    part = trim(part);
    if (part.empty())
      continue;
    std::stringstream words(part);
    Item item;
    words >> item.kind;
    if (item.kind == "ROWS") {
      words >> item.rows;
    } else if (item.kind == "ERR") {
      words >> item.diag.state >> item.diag.native;
      std::getline(words, item.diag.text);
      item.diag.text = trim(item.diag.text);
    } else if (item.kind == "WARN") {
      item.diag = {"01000", 0, ""};
      std::getline(words, item.diag.text);
      item.diag.text = "[Fake][Server]" + trim(item.diag.text);
    }
    items.push_back(item);
  }
  return items;
}

std::string text(SQLCHAR *s, SQLINTEGER length) {
  if (!s)
    return {};
  return length == SQL_NTS ? std::string(reinterpret_cast<char *>(s))
                           : std::string(reinterpret_cast<char *>(s), size_t(length));
}

// Answers for the statement's current item.
SQLRETURN answer(Stmt *st) {
  st->diags.clear();
  st->row = 0;
  st->lastColumn = 0;
  if (st->current >= st->items.size())
    return SQL_NO_DATA;
  const Item &item = st->items[st->current];
  if (item.kind == "ERR") {
    st->diags.push_back(item.diag);
    return SQL_ERROR;
  }
  if (item.kind == "WARN") {
    st->diags.push_back(item.diag);
    return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}

void copyText(const std::string &s, SQLCHAR *out, SQLSMALLINT capacity, SQLSMALLINT *length) {
  if (length)
    *length = SQLSMALLINT(s.size());
  if (out && capacity > 0) {
    const size_t n = std::min(s.size(), size_t(capacity - 1));
    std::memcpy(out, s.data(), n);
    out[n] = 0;
  }
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE *output) {
  switch (type) {
  case SQL_HANDLE_ENV:
    *output = new Env();
    return SQL_SUCCESS;
  case SQL_HANDLE_DBC:
    *output = new Dbc();
    return SQL_SUCCESS;
  case SQL_HANDLE_STMT: {
    auto *st = new Stmt();
    st->dbc = static_cast<Dbc *>(input);
    *output = st;
    return SQL_SUCCESS;
  }
  default:
    return SQL_ERROR;
  }
}

namespace {
// Kept apart from the exported name: inside a program that also loads the
// driver manager, a call to an SQL* name could reach the manager instead.
SQLRETURN freeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
  case SQL_HANDLE_ENV:
    delete static_cast<Env *>(handle);
    break;
  case SQL_HANDLE_DBC:
    delete static_cast<Dbc *>(handle);
    break;
  case SQL_HANDLE_STMT:
    delete static_cast<Stmt *>(handle);
    break;
  default:
    return SQL_ERROR;
  }
  return SQL_SUCCESS;
}
} // namespace

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) { return freeHandle(type, handle); }

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
  if (option == SQL_DROP)
    return freeHandle(SQL_HANDLE_STMT, handle);
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT) { return SQL_SUCCESS; }

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER value, SQLINTEGER, SQLINTEGER *) {
  if (value)
    *static_cast<SQLINTEGER *>(value) = SQL_OV_ODBC3;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR *in, SQLSMALLINT inLength, SQLCHAR *out,
                                   SQLSMALLINT outCapacity, SQLSMALLINT *outLength, SQLUSMALLINT) {
  auto *dbc = static_cast<Dbc *>(handle);
  dbc->diags.clear();
  const std::string cs = text(in, inLength);
  if (cs.find("FAIL=1") != std::string::npos) {
    dbc->diags.push_back({"08001", 17, "[Fake][Server]Server does not exist or access denied."});
    return SQL_ERROR;
  }
  copyText(cs, out, outCapacity, outLength);
  dbc->connected = true;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
  static_cast<Dbc *>(handle)->connected = false;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  auto *dbc = static_cast<Dbc *>(handle);
  dbc->diags.clear();
  if (attribute == SQL_ATTR_AUTOCOMMIT)
    dbc->autocommit = SQLULEN(reinterpret_cast<uintptr_t>(value));
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER capacity, SQLINTEGER *length) {
  auto *dbc = static_cast<Dbc *>(handle);
  if (attribute == SQL_ATTR_AUTOCOMMIT) {
    *static_cast<SQLULEN *>(value) = dbc->autocommit;
    return SQL_SUCCESS;
  }
  if (attribute == SQL_ATTR_CURRENT_CATALOG) {
    SQLSMALLINT n = 0;
    copyText("FAKE", static_cast<SQLCHAR *>(value), SQLSMALLINT(capacity), &n);
    if (length)
      *length = n;
    return SQL_SUCCESS;
  }
  return SQL_ERROR;
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT capacity,
                             SQLSMALLINT *length) {
  auto put = [&](const std::string &s) {
    copyText(s, static_cast<SQLCHAR *>(value), capacity, length);
    return SQL_SUCCESS;
  };
  switch (type) {
  case SQL_DRIVER_ODBC_VER:
    return put("03.00");
  case SQL_DRIVER_NAME:
    return put("libzvfake.so");
  case SQL_CATALOG_NAME:
    return put("N");
  case SQL_CURSOR_COMMIT_BEHAVIOR:
  case SQL_CURSOR_ROLLBACK_BEHAVIOR:
    if (value)
      *static_cast<SQLUSMALLINT *>(value) = SQL_CB_PRESERVE;
    return SQL_SUCCESS;
  default:
    if (value && capacity >= SQLSMALLINT(sizeof(SQLUINTEGER)))
      *static_cast<SQLUINTEGER *>(value) = 0;
    return SQL_SUCCESS;
  }
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT, SQLHANDLE handle, SQLSMALLINT completion) {
  auto *dbc = static_cast<Dbc *>(handle);
  dbc->diags.clear();
  if (completion == SQL_COMMIT)
    ++dbc->commits;
  else
    ++dbc->rollbacks;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR *sql, SQLINTEGER length) {
  auto *st = static_cast<Stmt *>(handle);
  st->items = parse(text(sql, length));
  st->current = 0;
  return answer(st);
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
  auto *st = static_cast<Stmt *>(handle);
  if (st->current < st->items.size())
    ++st->current;
  return answer(st);
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT *count) {
  auto *st = static_cast<Stmt *>(handle);
  const bool select = st->current < st->items.size() && st->items[st->current].kind == "SELECT";
  *count = select ? 2 : 0;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN *count) {
  auto *st = static_cast<Stmt *>(handle);
  *count = st->current < st->items.size() ? st->items[st->current].rows : -1;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT, SQLUSMALLINT column, SQLCHAR *name, SQLSMALLINT capacity,
                                 SQLSMALLINT *nameLength, SQLSMALLINT *type, SQLULEN *size,
                                 SQLSMALLINT *digits, SQLSMALLINT *nullable) {
  copyText(column == 1 ? "id" : "name", name, capacity, nameLength);
  *type = column == 1 ? SQL_INTEGER : SQL_VARCHAR;
  *size = column == 1 ? 10 : 10;
  if (digits)
    *digits = 0;
  if (nullable)
    *nullable = SQL_NULLABLE;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                                  SQLSMALLINT capacity, SQLSMALLINT *length, SQLLEN *number) {
  switch (field) {
  case SQL_DESC_TYPE_NAME:
    copyText(column == 1 ? "int" : "varchar", static_cast<SQLCHAR *>(text), capacity, length);
    return SQL_SUCCESS;
  case SQL_DESC_BASE_TABLE_NAME:
    copyText("FAKE_T", static_cast<SQLCHAR *>(text), capacity, length);
    return SQL_SUCCESS;
  case SQL_DESC_AUTO_UNIQUE_VALUE:
    if (number)
      *number = column == 1 ? SQL_TRUE : SQL_FALSE;
    return SQL_SUCCESS;
  default:
    return SQL_ERROR;
  }
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
  auto *st = static_cast<Stmt *>(handle);
  st->lastColumn = 0;
  if (st->row >= 2)
    return SQL_NO_DATA;
  ++st->row;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER value,
                             SQLLEN capacity, SQLLEN *indicator) {
  auto *st = static_cast<Stmt *>(handle);
  if (st->lastColumn == column)
    return SQL_NO_DATA;
  st->lastColumn = column;
  if (column == 2 && st->row == 2) {
    *indicator = SQL_NULL_DATA;
    return SQL_SUCCESS;
  }
  const std::string s = column == 1 ? std::to_string(st->row) : std::string("uno");
  if (cType == SQL_C_WCHAR) {
    auto *out = static_cast<SQLWCHAR *>(value);
    const size_t room = size_t(capacity) / sizeof(SQLWCHAR) - 1;
    const size_t n = std::min(room, s.size());
    for (size_t i = 0; i < n; ++i)
      out[i] = SQLWCHAR(s[i]);
    out[n] = 0;
    *indicator = SQLLEN(s.size() * sizeof(SQLWCHAR));
    return SQL_SUCCESS;
  }
  copyText(s, static_cast<SQLCHAR *>(value), SQLSMALLINT(capacity), nullptr);
  *indicator = SQLLEN(s.size());
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR *state,
                                SQLINTEGER *native, SQLCHAR *message, SQLSMALLINT capacity,
                                SQLSMALLINT *length) {
  const auto *h = static_cast<Handle *>(handle);
  if (record < 1 || size_t(record) > h->diags.size())
    return SQL_NO_DATA;
  const Diag &d = h->diags[size_t(record - 1)];
  if (state)
    copyText(d.state, state, 6, nullptr);
  if (native)
    *native = d.native;
  copyText(d.text, message, capacity, length);
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT, SQLHANDLE handle, SQLSMALLINT record, SQLSMALLINT field,
                                  SQLPOINTER value, SQLSMALLINT, SQLSMALLINT *) {
  const auto *h = static_cast<Handle *>(handle);
  if (record == 0 && field == SQL_DIAG_NUMBER) {
    *static_cast<SQLINTEGER *>(value) = SQLINTEGER(h->diags.size());
    return SQL_SUCCESS;
  }
  return SQL_NO_DATA;
}

} // extern "C"
