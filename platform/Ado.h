#pragma once
// ADO-like database boundary: connections, their error list, result sets and
// recordsets. The system's code only sees these types; the embedded engine and
// ODBC implement Connection.
#include "platform/AppError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace zv::ado {

// ADO constants used by the program.
enum ObjectState { adStateClosed = 0, adStateOpen = 1 };
enum CursorType { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum CursorLocation { adUseServer = 2, adUseClient = 3 };
enum SchemaEnum { adSchemaColumns = 4, adSchemaTables = 20 };
enum EditMode { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };
constexpr long adIsolationReadCommitted = 4096;

// ADO data type codes.
enum DataType {
  adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6,
  adDate = 7, adBSTR = 8, adBoolean = 11, adDecimal = 14, adTinyInt = 16, adUnsignedTinyInt = 17,
  adUnsignedSmallInt = 18, adUnsignedInt = 19, adBigInt = 20, adUnsignedBigInt = 21,
  adFileTime = 64, adBinary = 128, adChar = 129, adWChar = 130, adNumeric = 131, adDBDate = 133,
  adDBTime = 134, adDBTimeStamp = 135, adVarChar = 200, adLongVarChar = 201, adVarWChar = 202,
  adLongVarWChar = 203, adVarBinary = 204, adLongVarBinary = 205
};

// One entry of a connection's error list.
struct ErrorEntry {
  QString sqlState;
  long number = 0;       // ADO number (HRESULT style, e.g. -2147217900)
  QString description;
  long nativeError = 0;  // the server's own code (2627, 547, 208 ...)
  QString source;
};

class ErrorList {
public:
  int count() const { return int(items_.size()); }
  const ErrorEntry &item(int i) const { return items_.at(i); }
  void clear() { items_.clear(); }
  void add(const ErrorEntry &e) { items_.push_back(e); }
  const QVector<ErrorEntry> &all() const { return items_; }

private:
  QVector<ErrorEntry> items_;
};

struct Column {
  QString name;
  int type = adVarChar;   // ADO type code
  long definedSize = 0;   // declared length for text, byte size otherwise
  QString baseTable;      // table the column comes from, when known
  bool autoIncrement = false;
};

// A materialised result: the rows of one query.
struct ResultSet {
  QVector<Column> columns;
  QVector<QVector<QVariant>> rows;
  int columnIndex(const QString &name) const; // case-insensitive, -1 if missing
};

// Parsed "Key=Value;..." connection string; keys are compared without regard
// to case and blanks around "=" are ignored.
class ConnectionString {
public:
  explicit ConnectionString(const QString &text = {});
  QString value(const QString &key) const;            // "" when missing
  QString value(const QStringList &keys) const;       // first present key
  bool has(const QString &key) const;
  const QString &text() const { return text_; }

private:
  QString text_;
  QList<QPair<QString, QString>> pairs_;
};

class Connection {
public:
  virtual ~Connection() = default;

  virtual void open(const QString &connectionString, const QString &user = {},
                    const QString &password = {}, long options = -1) = 0;
  virtual void close() = 0;
  virtual int state() const = 0;
  virtual QString connectionString() const = 0;

  virtual void setDefaultDatabase(const QString &name) = 0;
  virtual QString defaultDatabase() const = 0;
  virtual void setCommandTimeout(int seconds) = 0;
  virtual int commandTimeout() const = 0;
  virtual void setIsolationLevel(long level) = 0;
  virtual long isolationLevel() const = 0;
  virtual void setCursorLocation(int location) = 0;
  virtual int cursorLocation() const = 0;

  // Runs a statement or a batch. Everything the server reports goes into
  // errors(); when a statement failed, the first error is thrown after the
  // batch has run as far as the server runs it. Returns the first result set
  // of the batch, or null when it produced none.
  virtual std::unique_ptr<ResultSet> execute(const QString &text, long *recordsAffected = nullptr,
                                             long options = -1) = 0;

  virtual int beginTrans() = 0; // returns the nesting level
  virtual void commitTrans() = 0;
  virtual void rollbackTrans() = 0;

  virtual ErrorList &errors() = 0;

  // adSchemaTables: restrictions catalogue, schema, table, type; rows with
  // TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE ("TABLE", "VIEW").
  // adSchemaColumns: restrictions catalogue, schema, table, column; rows in the
  // table's column order with TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME,
  // COLUMN_NAME, ORDINAL_POSITION, DATA_TYPE (ADO code), IS_NULLABLE,
  // CHARACTER_MAXIMUM_LENGTH. A null or empty restriction matches anything.
  virtual std::unique_ptr<ResultSet> openSchema(int schema, const QVariantList &restrictions = {}) = 0;
};

// A value as a T-SQL literal: NULL, 1/0 for booleans, numbers in the fewest
// digits that read back as the same value, dates and times quoted as
// yyyy-MM-dd[ HH:mm:ss], bytes as 0x hex, anything else quoted with its
// apostrophes doubled.
QString sqlLiteral(const QVariant &value);

// Creates unopened connections; the real one picks the back end when the
// connection is opened (server SQLITE: embedded engine; otherwise ODBC).
using ConnectionFactory = std::function<std::unique_ptr<Connection>()>;

class Recordset;

// A field of the recordset's current row.
class Field {
public:
  Field(Recordset *rs, int index) : rs_(rs), index_(index) {}
  QString name() const;
  int type() const;
  long definedSize() const;
  QVariant value() const; // null QVariant is SQL NULL
  void setValue(const QVariant &v);
  int index() const { return index_; }

private:
  Recordset *rs_;
  int index_;
};

// A cursor over the rows of a query, ADO style. Rows are fetched when opened.
class Recordset {
public:
  void open(const QString &source, Connection &connection, int cursorType = adOpenForwardOnly,
            int lockType = adLockReadOnly, long options = -1);
  // Wraps a result that a connection already produced (Execute's recordset).
  void attach(std::unique_ptr<ResultSet> result, Connection *connection = nullptr);
  void close();
  int state() const { return open_ ? adStateOpen : adStateClosed; }

  bool bof() const;
  bool eof() const;
  void moveFirst();
  void moveNext();
  void movePrevious();
  void moveLast();
  long recordCount() const;
  long absolutePosition() const { return pos_ + 1; }

  int fieldCount() const;
  Field field(int index);                 // throws 3265 when out of range
  Field field(const QString &name);       // throws 3265 when missing
  QVariant value(const QString &name) const;
  QVariant value(int index) const;

  // Updating (dynamic or keyset cursor with optimistic locking, one table).
  void addNew();
  void setValue(const QString &name, const QVariant &v);
  void update();
  void cancelUpdate();
  int editMode() const { return editMode_; }
  int cursorType() const { return cursorType_; }
  int lockType() const { return lockType_; }
  bool updatable() const;
  const QString &source() const { return source_; }
  const ResultSet *result() const { return result_.get(); }

private:
  friend class Field;
  void requireOpen() const;
  void requireRow() const;
  std::unique_ptr<ResultSet> result_;
  Connection *connection_ = nullptr;
  QString source_;
  QString table_;
  int cursorType_ = adOpenForwardOnly;
  int lockType_ = adLockReadOnly;
  bool open_ = false;
  long pos_ = 0;
  int editMode_ = adEditNone;
  QVector<QVariant> pending_;
  QVector<bool> touched_;
};

} // namespace zv::ado
