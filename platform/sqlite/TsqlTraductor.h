#pragma once
// Splits the SQL Server (T-SQL) batches this program sends into statements
// and rewrites each one into SQLite's dialect. The connection (ConexionSqlite)
// runs the result; the bench and tests read the rewritten text directly.
#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

namespace zv::sqlite {

// One lexical token of a T-SQL text.
struct Token {
  enum Type { Word, Name, String, Number, Variable, Symbol, Go };
  Type type = Word;
  QString text; // Word/Number/Variable/Symbol: as written; Name: unquoted; String: unescaped value
  QString key;  // Word: upper case text
  QString lead; // blanks before the token (comments folded into one blank)
  int pos = 0;  // offset in the source text
  int end = 0;  // offset just after the token
};

// What a declared column type means to the program (ADO view of it).
struct TipoColumna {
  QString base;          // lower-case type name: "varchar", "int" ...
  int adoType = 200;     // ADO type code
  long definedSize = 0;  // declared length for text, byte size otherwise
  int length = -1;       // declared length of char/varchar/nchar/nvarchar, -1 for none or max
  bool text = false;     // compares as text (gets COLLATE NOCASE)
  bool decimal = false;  // decimal/numeric/money: values come back as double
  bool floating = false; // float/real
  bool bit = false;
  bool date = false; // datetime family: values come back as QDateTime
};
TipoColumna tipoDeclarado(const QString &declared);

// One piece of SQLite text that runs as one prepared statement.
struct SqlPiece {
  QString text;
  int id = 0;                 // index of this piece inside its batch (for caching prepared statements)
  int insertColumnsAt = -1;   // INSERT without a column list: where one may be placed
  bool usesTranCount = false; // binds $zv_trancount
};

enum class Kind {
  Query, // SELECT
  Insert,
  Update,
  Delete,
  Ddl,        // CREATE/DROP/ALTER that runs as plain SQLite text
  DropTable,  // also forgets the table's disabled triggers
  Truncate,   // delete every row without firing triggers, restart the identity
  AddColumns, // ALTER TABLE ... ADD
  BeginTran,
  CommitTran,
  RollbackTran,
  SetOption, // SET NOCOUNT/XACT_ABORT/...; option in `option`, value in `on`
  If,        // condition in sql[0], then body[0], else body[1]
  Block,     // BEGIN ... END
  DisableTriggers,
  EnableTriggers,
  CreateDatabase,
  DropDatabase,
  Use,
  NoOp,
  Failure // fails when it runs: `native` and `message`
};

struct Statement {
  Kind kind = Kind::NoOp;
  QString verb;          // first keyword in upper case (SELECT, INSERT, ...)
  QString table;         // object the statement targets, as named
  QVector<SqlPiece> sql; // SQLite text to run, in order
  QString option;        // SET option (upper case) / database name
  bool on = false;
  QStringList names;           // trigger names (empty: all), dropped tables, added columns
  QVector<bool> flags;         // AddColumns: the column is nullable with a default
  std::vector<Statement> body; // If: then [, else]; Block: the statements
  int native = 0;              // Failure
  QString message;
  QString source; // the T-SQL text of the statement
};

// Statements up to a GO line. A batch that does not compile runs nothing.
struct Batch {
  std::vector<Statement> statements;
  int pieces = 0;
  bool failed = false;
  int native = 0;
  QString message;
};

class TsqlTraductor {
public:
  // Splits and translates a text that may hold several GO-separated batches.
  std::vector<Batch> analizar(const QString &text) const;

  // The SQLite statements of a text, flattened in the order they run when
  // every IF holds: transaction control comes out as BEGIN/COMMIT/ROLLBACK,
  // session settings and trigger switching are left out. Throws
  // std::runtime_error when the text does not compile.
  QStringList sentenciasSqlite(const QString &text) const;

  // Tokens of a text; stops at the first unclosed quote or comment and
  // reports it through `error` and `native` (left alone when the text is whole).
  static std::vector<Token> tokenize(const QString &text, QString *error = nullptr, int *native = nullptr);
};

} // namespace zv::sqlite
