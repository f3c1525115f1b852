#include "platform/sqlite/TsqlTraductor.h"

#include <QSet>
#include <stdexcept>

namespace zv::sqlite {

namespace {

// Native code for statements the embedded engine does not carry out.
constexpr int kUnsupported = 50000;

const QString kNow = QStringLiteral("strftime('%Y-%m-%d %H:%M:%f','now','localtime')");

bool isIdChar(QChar c) {
  return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#') || c == QLatin1Char('$') ||
         c == QLatin1Char('@');
}
bool isIdStart(QChar c) { return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('#'); }

QString quoteIdent(const QString &name) {
  QString n = name;
  n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + n + QLatin1Char('"');
}

QString quoteString(const QString &value) {
  QString r;
  r.reserve(value.size() + 2);
  r += QLatin1Char('\'');
  if (value.contains(QLatin1Char('\''))) {
    QString v = value;
    r += v.replace(QLatin1Char('\''), QStringLiteral("''"));
  } else {
    r += value;
  }
  r += QLatin1Char('\'');
  return r;
}

QString rtrimBlanks(const QString &s) {
  int n = s.size();
  while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
    --n;
  return s.left(n);
}

bool needsGap(QChar a, QChar b) {
  auto wordish = [](QChar c) {
    return isIdChar(c) || c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('$');
  };
  return wordish(a) && wordish(b);
}

// Appends a token with its leading blanks, or one blank where two words
// would otherwise run together.
void put(QString &out, const QString &lead, const QString &text) {
  if (out.capacity() < 64)
    out.reserve(256);
  if (lead.size() == 1)
    out += lead.front();
  else if (!lead.isEmpty())
    out += lead;
  else if (!out.isEmpty() && !text.isEmpty() && needsGap(out.back(), text.front()))
    out += QLatin1Char(' ');
  out += text;
}

const QSet<QString> &statementKeywords() {
  static const QSet<QString> k = {
      QStringLiteral("SELECT"),   QStringLiteral("INSERT"),   QStringLiteral("UPDATE"),
      QStringLiteral("DELETE"),   QStringLiteral("CREATE"),   QStringLiteral("DROP"),
      QStringLiteral("ALTER"),    QStringLiteral("IF"),       QStringLiteral("ELSE"),
      QStringLiteral("BEGIN"),    QStringLiteral("END"),      QStringLiteral("COMMIT"),
      QStringLiteral("ROLLBACK"), QStringLiteral("SAVE"),     QStringLiteral("SET"),
      QStringLiteral("DECLARE"),  QStringLiteral("TRUNCATE"), QStringLiteral("EXEC"),
      QStringLiteral("EXECUTE"),  QStringLiteral("PRINT"),    QStringLiteral("USE"),
      QStringLiteral("GRANT"),    QStringLiteral("REVOKE"),   QStringLiteral("DENY"),
      QStringLiteral("WHILE"),    QStringLiteral("RETURN")};
  return k;
}

const QSet<QString> &tableHints() {
  static const QSet<QString> k = {QStringLiteral("NOLOCK"),
                                  QStringLiteral("READUNCOMMITTED"),
                                  QStringLiteral("READCOMMITTED"),
                                  QStringLiteral("REPEATABLEREAD"),
                                  QStringLiteral("SERIALIZABLE"),
                                  QStringLiteral("HOLDLOCK"),
                                  QStringLiteral("UPDLOCK"),
                                  QStringLiteral("ROWLOCK"),
                                  QStringLiteral("PAGLOCK"),
                                  QStringLiteral("TABLOCK"),
                                  QStringLiteral("TABLOCKX"),
                                  QStringLiteral("XLOCK"),
                                  QStringLiteral("READPAST"),
                                  QStringLiteral("NOWAIT"),
                                  QStringLiteral("FORCESEEK"),
                                  QStringLiteral("INDEX"),
                                  QStringLiteral("NOEXPAND"),
                                  QStringLiteral("FASTFIRSTROW"),
                                  QStringLiteral("KEEPIDENTITY"),
                                  QStringLiteral("KEEPDEFAULTS"),
                                  QStringLiteral("IGNORE_CONSTRAINTS"),
                                  QStringLiteral("IGNORE_TRIGGERS")};
  return k;
}

const QSet<QString> &ignoredSetOptions() {
  static const QSet<QString> k = {QStringLiteral("ANSI_NULLS"),
                                  QStringLiteral("ANSI_PADDING"),
                                  QStringLiteral("ANSI_WARNINGS"),
                                  QStringLiteral("ARITHABORT"),
                                  QStringLiteral("CONCAT_NULL_YIELDS_NULL"),
                                  QStringLiteral("QUOTED_IDENTIFIER"),
                                  QStringLiteral("NUMERIC_ROUNDABORT"),
                                  QStringLiteral("ANSI_NULL_DFLT_ON"),
                                  QStringLiteral("ANSI_DEFAULTS"),
                                  QStringLiteral("DATEFORMAT"),
                                  QStringLiteral("DATEFIRST"),
                                  QStringLiteral("LANGUAGE"),
                                  QStringLiteral("LOCK_TIMEOUT"),
                                  QStringLiteral("DEADLOCK_PRIORITY"),
                                  QStringLiteral("TRANSACTION"),
                                  QStringLiteral("IDENTITY_INSERT"),
                                  QStringLiteral("TEXTSIZE"),
                                  QStringLiteral("IMPLICIT_TRANSACTIONS"),
                                  QStringLiteral("STATISTICS"),
                                  QStringLiteral("ROWCOUNT"),
                                  QStringLiteral("CURSOR_CLOSE_ON_COMMIT")};
  return k;
}

struct CompileError {
  int native;
  QString message;
};

[[noreturn]] void unsupported(const QString &what) {
  throw CompileError{kUnsupported,
                     QStringLiteral("%1 is not supported by the embedded database engine.").arg(what)};
}

} // namespace

// ---------------------------------------------------------------------------
// Declared types

TipoColumna tipoDeclarado(const QString &declared) {
  TipoColumna t;
  const QString d = declared.trimmed().toLower();
  const int paren = d.indexOf(QLatin1Char('('));
  t.base = (paren < 0 ? d : d.left(paren)).trimmed();
  QStringList args;
  if (paren >= 0) {
    const int close = d.indexOf(QLatin1Char(')'), paren);
    args = d.mid(paren + 1, (close < 0 ? d.size() : close) - paren - 1).split(QLatin1Char(','));
    for (QString &a : args)
      a = a.trimmed();
  }
  const QString &b = t.base;
  auto setText = [&](int ado, long maxSize) {
    t.text = true;
    t.adoType = ado;
    if (!args.isEmpty() && args[0] != QLatin1String("max")) {
      bool ok = false;
      const int n = args[0].toInt(&ok);
      if (ok) {
        t.length = n;
        t.definedSize = n;
        return;
      }
    }
    if (!args.isEmpty() && args[0] == QLatin1String("max")) {
      t.adoType = (ado == 130 || ado == 202) ? 203 : 201;
      t.definedSize = ado == 130 || ado == 202 ? 1073741823 : 2147483647;
      return;
    }
    t.definedSize = maxSize;
  };
  if (b == QLatin1String("int") || b == QLatin1String("integer")) {
    t.adoType = 3;
    t.definedSize = 4;
  } else if (b == QLatin1String("bigint")) {
    t.adoType = 20;
    t.definedSize = 8;
  } else if (b == QLatin1String("smallint")) {
    t.adoType = 2;
    t.definedSize = 2;
  } else if (b == QLatin1String("tinyint")) {
    t.adoType = 17;
    t.definedSize = 1;
  } else if (b == QLatin1String("bit")) {
    t.adoType = 11;
    t.definedSize = 2;
    t.bit = true;
  } else if (b == QLatin1String("decimal") || b == QLatin1String("numeric")) {
    t.adoType = 131;
    t.definedSize = 19;
    t.decimal = true;
  } else if (b == QLatin1String("money") || b == QLatin1String("smallmoney")) {
    t.adoType = 6;
    t.definedSize = 8;
    t.decimal = true;
  } else if (b == QLatin1String("float") || b == QLatin1String("double") ||
             b == QLatin1String("double precision")) {
    t.adoType = 5;
    t.definedSize = 8;
    t.floating = true;
  } else if (b == QLatin1String("real")) {
    t.adoType = 4;
    t.definedSize = 4;
    t.floating = true;
  } else if (b == QLatin1String("datetime") || b == QLatin1String("smalldatetime") ||
             b == QLatin1String("datetime2") || b == QLatin1String("date") || b == QLatin1String("time")) {
    t.adoType = 135;
    t.definedSize = 16;
    t.date = true;
  } else if (b == QLatin1String("char") || b == QLatin1String("character")) {
    setText(129, 1);
  } else if (b == QLatin1String("varchar")) {
    setText(200, 1);
  } else if (b == QLatin1String("nchar")) {
    setText(130, 1);
  } else if (b == QLatin1String("nvarchar") || b == QLatin1String("sysname")) {
    setText(202, b == QLatin1String("sysname") ? 128 : 1);
  } else if (b == QLatin1String("text") || b == QLatin1String("clob")) {
    t.text = true;
    t.adoType = 201;
    t.definedSize = 2147483647;
  } else if (b == QLatin1String("ntext")) {
    t.text = true;
    t.adoType = 203;
    t.definedSize = 1073741823;
  } else if (b == QLatin1String("uniqueidentifier")) {
    t.text = true;
    t.adoType = 72;
    t.definedSize = 16;
  } else if (b == QLatin1String("image") || b == QLatin1String("blob") || b == QLatin1String("varbinary") ||
             b == QLatin1String("binary")) {
    t.adoType = b == QLatin1String("binary") ? 128 : 205;
    t.definedSize = 2147483647;
  } else if (b.isEmpty()) {
    t.adoType = 200;
  } else {
    t.adoType = 200;
  }
  return t;
}

// ---------------------------------------------------------------------------
// Tokens

std::vector<Token> TsqlTraductor::tokenize(const QString &s, QString *error, int *native) {
  std::vector<Token> out;
  const int n = s.size();
  int i = 0;
  QString lead;
  auto fail = [&](int code, const QString &msg) {
    if (error)
      *error = msg;
    if (native)
      *native = code;
  };
  // Reads a quoted string or name from `from` up to its closing character,
  // where a doubled closing character stands for itself; returns the position
  // after the close, or -1 when the text ends first.
  auto readQuoted = [&](int from, QChar close, QString *value) {
    value->clear();
    int j = from;
    while (j < n) {
      if (s.at(j) == close) {
        if (j + 1 < n && s.at(j + 1) == close) {
          *value += close;
          j += 2;
          continue;
        }
        return j + 1;
      }
      *value += s.at(j++);
    }
    return -1;
  };
  while (i < n) {
    const QChar c = s.at(i);
    if (c.isSpace()) {
      const int st = i;
      while (i < n && s.at(i).isSpace())
        ++i;
      // Most tokens follow one blank: share one text for it.
      static const QString blanks[] = {QStringLiteral(" "), QStringLiteral("\r\n"), QStringLiteral("\n"),
                                       QStringLiteral("\r\n ")};
      const QStringView run = QStringView(s).mid(st, i - st);
      bool shared = false;
      if (lead.isEmpty())
        for (const QString &b : blanks)
          if (run == b) {
            lead = b;
            shared = true;
            break;
          }
      if (!shared)
        lead += run;
      continue;
    }
    if (c == QLatin1Char('-') && i + 1 < n && s.at(i + 1) == QLatin1Char('-')) {
      while (i < n && s.at(i) != QLatin1Char('\n'))
        ++i;
      lead += QLatin1Char(' ');
      continue;
    }
    if (c == QLatin1Char('/') && i + 1 < n && s.at(i + 1) == QLatin1Char('*')) {
      // Comments nest in T-SQL.
      int depth = 0;
      int j = i;
      while (j < n) {
        if (s.at(j) == QLatin1Char('/') && j + 1 < n && s.at(j + 1) == QLatin1Char('*')) {
          ++depth;
          j += 2;
        } else if (s.at(j) == QLatin1Char('*') && j + 1 < n && s.at(j + 1) == QLatin1Char('/')) {
          j += 2;
          if (--depth == 0)
            break;
        } else {
          ++j;
        }
      }
      if (depth > 0) {
        fail(113, QStringLiteral("Missing end comment mark '*/'."));
        return out;
      }
      i = j;
      lead += QLatin1Char(' ');
      continue;
    }
    Token t;
    t.pos = i;
    t.lead = lead;
    lead.clear();
    if (c == QLatin1Char('\'') ||
        ((c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < n && s.at(i + 1) == QLatin1Char('\''))) {
      t.type = Token::String;
      const int start = (c == QLatin1Char('\'')) ? i + 1 : i + 2;
      const int j = readQuoted(start, QLatin1Char('\''), &t.text);
      if (j < 0) {
        fail(105,
             QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(s.mid(start)));
        return out;
      }
      i = j;
    } else if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
      const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
      t.type = Token::Name;
      const int j = readQuoted(i + 1, close, &t.text);
      if (j < 0) {
        fail(105,
             QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(s.mid(i + 1)));
        return out;
      }
      i = j;
    } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && s.at(i + 1).isDigit())) {
      t.type = Token::Number;
      int j = i;
      if (c == QLatin1Char('0') && j + 1 < n &&
          (s.at(j + 1) == QLatin1Char('x') || s.at(j + 1) == QLatin1Char('X'))) {
        j += 2;
        while (j < n && isIdChar(s.at(j)))
          ++j;
      } else {
        while (j < n && (s.at(j).isDigit() || s.at(j) == QLatin1Char('.')))
          ++j;
        if (j < n && (s.at(j) == QLatin1Char('e') || s.at(j) == QLatin1Char('E'))) {
          int k = j + 1;
          if (k < n && (s.at(k) == QLatin1Char('+') || s.at(k) == QLatin1Char('-')))
            ++k;
          if (k < n && s.at(k).isDigit()) {
            j = k;
            while (j < n && s.at(j).isDigit())
              ++j;
          }
        }
      }
      t.text = s.mid(i, j - i);
      i = j;
    } else if (c == QLatin1Char('@')) {
      t.type = Token::Variable;
      int j = i + 1;
      if (j < n && s.at(j) == QLatin1Char('@'))
        ++j;
      while (j < n && isIdChar(s.at(j)))
        ++j;
      t.text = s.mid(i, j - i);
      t.key = t.text.toUpper();
      i = j;
    } else if (isIdStart(c)) {
      t.type = Token::Word;
      int j = i + 1;
      while (j < n && isIdChar(s.at(j)))
        ++j;
      t.text = s.mid(i, j - i);
      t.key = t.text.toUpper();
      i = j;
      if (t.key == QLatin1String("GO")) {
        // A GO alone on its line separates batches.
        const bool lineStart = out.empty() ? true : t.lead.contains(QLatin1Char('\n'));
        int k = j;
        while (k < n && s.at(k) != QLatin1Char('\n') && s.at(k).isSpace())
          ++k;
        const bool lineEnd = k >= n || s.at(k) == QLatin1Char('\n') ||
                             (s.at(k) == QLatin1Char('-') && k + 1 < n && s.at(k + 1) == QLatin1Char('-'));
        if (lineStart && lineEnd)
          t.type = Token::Go;
      }
    } else {
      t.type = Token::Symbol;
      static const char *two[] = {"<>", "!=", "<=", ">=", "!<", "!>", "||", "=="};
      int len = 1;
      for (const char *op : two)
        if (i + 1 < n && s.at(i) == QLatin1Char(op[0]) && s.at(i + 1) == QLatin1Char(op[1]))
          len = 2;
      static const std::vector<QString> single = [] {
        std::vector<QString> v(128);
        for (int ch = 0; ch < 128; ++ch)
          v[std::size_t(ch)] = QString(QChar(ch));
        return v;
      }();
      t.text = (len == 1 && c.unicode() < 128) ? single[c.unicode()] : s.mid(i, len);
      i += len;
    }
    t.end = i;
    out.push_back(std::move(t));
  }
  return out;
}

// ---------------------------------------------------------------------------
// Parser and translator of one batch

namespace {

struct Scope {
  QString limit;
  bool inList = false;
  bool raw = false; // names only: trigger bodies are already SQLite
};

class Parser {
public:
  Parser(const QString &src, const std::vector<Token> &t, int b, int e, std::vector<int> &match,
         std::vector<char> &assign)
      : src_(src), t_(t), b_(b), e_(e), match_(match), assign_(assign) {}

  Batch run() {
    Batch batch;
    try {
      matchParens();
      int i = b_;
      while (true) {
        while (i < e_ && sym(i, ";"))
          ++i;
        if (i >= e_)
          break;
        batch.statements.push_back(statement(i, false));
      }
    } catch (const CompileError &err) {
      batch.statements.clear();
      batch.failed = true;
      batch.native = err.native;
      batch.message = err.message;
    }
    batch.pieces = pieces_;
    return batch;
  }

private:
  const QString &src_;
  const std::vector<Token> &t_;
  int b_, e_;
  std::vector<int> &match_;
  std::vector<char> &assign_;
  int pieces_ = 0;

  // ---- token tests
  bool in(int i) const { return i >= b_ && i < e_; }
  // These run for nearly every token: compare the first character before
  // anything else.
  bool sym(int i, const char *s) const {
    if (!in(i) || t_[i].type != Token::Symbol)
      return false;
    const QString &x = t_[i].text;
    if (x.at(0) != QLatin1Char(s[0]))
      return false;
    return s[1] == 0 ? x.size() == 1 : (x.size() == 2 && x.at(1) == QLatin1Char(s[1]));
  }
  bool word(int i, const char *k) const {
    if (!in(i) || t_[i].type != Token::Word)
      return false;
    const QString &x = t_[i].key;
    return x.at(0) == QLatin1Char(k[0]) && x == QLatin1String(k);
  }
  QString key(int i) const { return in(i) && t_[i].type == Token::Word ? t_[i].key : QString(); }
  bool isName(int i) const { return in(i) && (t_[i].type == Token::Word || t_[i].type == Token::Name); }
  bool isStatementKeyword(int i) const {
    return in(i) && t_[i].type == Token::Word && statementKeywords().contains(t_[i].key);
  }

  [[noreturn]] void near(int i) const {
    QString what;
    if (in(i))
      what = t_[i].type == Token::String ? t_[i].text : src_.mid(t_[i].pos, t_[i].end - t_[i].pos);
    else if (e_ > b_)
      what = src_.mid(t_[e_ - 1].pos, t_[e_ - 1].end - t_[e_ - 1].pos);
    throw CompileError{102, QStringLiteral("Incorrect syntax near '%1'.").arg(what)};
  }

  void expectSym(int i, const char *s) const {
    if (!sym(i, s))
      near(i);
  }

  QString sourceOf(int i, int j) const {
    if (j <= i)
      return {};
    return src_.mid(t_[i].pos, t_[j - 1].end - t_[i].pos);
  }

  void matchParens() {
    std::vector<int> stack;
    for (int i = b_; i < e_; ++i) {
      if (sym(i, "("))
        stack.push_back(i);
      else if (sym(i, ")")) {
        if (stack.empty())
          near(i);
        match_[stack.back()] = i;
        match_[i] = stack.back();
        stack.pop_back();
      }
    }
    if (!stack.empty())
      near(e_);
  }

  SqlPiece piece(const QString &text, bool tranCount = false) {
    SqlPiece p;
    p.text = text.trimmed();
    p.id = pieces_++;
    p.usesTranCount = tranCount;
    return p;
  }

  // ---- object names: [db.][owner.]name, owner and database dropped
  int objectName(int i, QString *name, QString *text = nullptr) const {
    if (!isName(i))
      near(i);
    int last = i;
    int k = i;
    while (sym(k + 1, ".")) {
      if (sym(k + 2, ".")) { // db..name
        k += 2;
        continue;
      }
      if (!isName(k + 2))
        near(k + 2);
      k += 2;
    }
    last = k;
    if (name)
      *name = t_[last].text;
    if (text)
      *text = t_[last].type == Token::Word && !t_[last].text.startsWith(QLatin1Char('#'))
                  ? t_[last].text
                  : quoteIdent(t_[last].text);
    return k + 1;
  }

  QString nameText(int i) const {
    if (!isName(i))
      near(i);
    return t_[i].text;
  }

  // ---- statement boundaries
  int scanSimple(int i, const QString &verb) const {
    int caseDepth = 0;
    bool setSeen = false, selectSeen = false, valuesSeen = false;
    for (int j = i + 1; j < e_; ++j) {
      const Token &k = t_[j];
      if (k.type == Token::Go)
        return j;
      if (k.type == Token::Symbol) {
        if (k.text == QLatin1String("(")) {
          j = match_[j];
          continue;
        }
        if (k.text == QLatin1String(";"))
          return j;
        continue;
      }
      if (k.type != Token::Word)
        continue;
      if (k.key == QLatin1String("CASE")) {
        ++caseDepth;
        continue;
      }
      if (k.key == QLatin1String("END")) {
        if (caseDepth > 0) {
          --caseDepth;
          continue;
        }
        return j;
      }
      if (caseDepth > 0)
        continue;
      if (k.key == QLatin1String("VALUES") && verb == QLatin1String("INSERT"))
        valuesSeen = true;
      if (!statementKeywords().contains(k.key))
        continue;
      if (k.key == QLatin1String("SELECT")) {
        const QString prev = key(j - 1);
        if (prev == QLatin1String("UNION") || prev == QLatin1String("ALL") ||
            prev == QLatin1String("EXCEPT") || prev == QLatin1String("INTERSECT"))
          continue;
        if (verb == QLatin1String("INSERT") && !selectSeen && !valuesSeen) {
          selectSeen = true;
          continue;
        }
        return j;
      }
      if (k.key == QLatin1String("SET") && verb == QLatin1String("UPDATE") && !setSeen) {
        setSeen = true;
        continue;
      }
      if (verb == QLatin1String("ALTER") && k.key == QLatin1String("ALTER") && word(j + 1, "COLUMN"))
        continue;
      if (verb == QLatin1String("ALTER") && k.key == QLatin1String("DROP") &&
          (word(j + 1, "COLUMN") || word(j + 1, "CONSTRAINT")))
        continue;
      return j;
    }
    return e_;
  }

  // End of a statement that runs to a ";", a GO or the end of the batch.
  int scanToBatchEnd(int i) const {
    for (int j = i; j < e_; ++j) {
      if (t_[j].type == Token::Go)
        return j;
      if (sym(j, "("))
        j = match_[j];
      else if (sym(j, ";"))
        return j;
    }
    return e_;
  }

  // A trigger written in SQLite's syntax ends with the END of its body.
  int scanTrigger(int i) const {
    int depth = 0;
    for (int j = i; j < e_; ++j) {
      if (t_[j].type == Token::Go)
        return j;
      const QString k = key(j);
      if (k == QLatin1String("BEGIN") || k == QLatin1String("CASE")) {
        ++depth;
      } else if (k == QLatin1String("END") && depth > 0) {
        if (--depth == 0)
          return j + 1;
      }
    }
    return e_;
  }

  // ---- statements
  Statement statement(int &i, bool inBlock) {
    const int start = i;
    if (t_[i].type != Token::Word)
      near(i);
    const QString k = t_[i].key;
    Statement st;
    st.verb = k;
    int end = i + 1;
    if (k == QLatin1String("SELECT")) {
      end = scanSimple(i, k);
      st.kind = Kind::Query;
      bool tc = false;
      Scope sc;
      QString text = tx(i, end, sc, tc) + sc.limit;
      st.sql.push_back(piece(text, tc));
    } else if (k == QLatin1String("INSERT")) {
      end = scanSimple(i, k);
      insertStatement(st, i, end);
    } else if (k == QLatin1String("UPDATE")) {
      end = scanSimple(i, k);
      updateStatement(st, i, end);
    } else if (k == QLatin1String("DELETE")) {
      end = scanSimple(i, k);
      deleteStatement(st, i, end);
    } else if (k == QLatin1String("CREATE")) {
      end = createStatement(st, i);
    } else if (k == QLatin1String("DROP")) {
      end = scanSimple(i, k);
      dropStatement(st, i, end);
    } else if (k == QLatin1String("ALTER")) {
      end = alterStatement(st, i);
    } else if (k == QLatin1String("TRUNCATE")) {
      end = scanSimple(i, k);
      if (!word(i + 1, "TABLE"))
        near(i + 1);
      int n = objectName(i + 2, &st.table);
      if (n != end)
        near(n);
      st.kind = Kind::Truncate;
      st.sql.push_back(piece(QStringLiteral("DELETE FROM ") + quoteIdent(st.table)));
    } else if (k == QLatin1String("IF")) {
      end = ifStatement(st, i, inBlock);
    } else if (k == QLatin1String("BEGIN")) {
      end = beginStatement(st, i);
    } else if (k == QLatin1String("COMMIT") || k == QLatin1String("ROLLBACK")) {
      st.kind = k == QLatin1String("COMMIT") ? Kind::CommitTran : Kind::RollbackTran;
      end = i + 1;
      if (word(end, "TRAN") || word(end, "TRANSACTION") || word(end, "WORK"))
        ++end;
      if (in(end) && ((t_[end].type == Token::Word && !isStatementKeyword(end)) ||
                      t_[end].type == Token::Variable || t_[end].type == Token::Name))
        ++end;
    } else if (k == QLatin1String("SAVE")) {
      unsupported(QStringLiteral("SAVE TRANSACTION"));
    } else if (k == QLatin1String("SET")) {
      end = scanSimple(i, k);
      setStatement(st, i, end);
    } else if (k == QLatin1String("USE")) {
      st.kind = Kind::Use;
      st.option = nameText(i + 1);
      end = i + 2;
    } else if (k == QLatin1String("EXEC") || k == QLatin1String("EXECUTE")) {
      end = scanSimple(i, k);
      QString name;
      if (in(i + 1) && isName(i + 1))
        objectName(i + 1, &name);
      st.kind = Kind::Failure;
      st.native = 2812;
      st.message = QStringLiteral("Could not find stored procedure '%1'.").arg(name);
    } else if (k == QLatin1String("PRINT") || k == QLatin1String("GRANT") || k == QLatin1String("REVOKE") ||
               k == QLatin1String("DENY")) {
      end = scanSimple(i, k);
      st.kind = Kind::NoOp;
    } else if (k == QLatin1String("DECLARE")) {
      unsupported(QStringLiteral("DECLARE"));
    } else if (k == QLatin1String("WHILE")) {
      unsupported(QStringLiteral("WHILE"));
    } else {
      near(i);
    }
    st.source = sourceOf(start, end);
    i = end;
    return st;
  }

  void insertStatement(Statement &st, int i, int end) {
    st.kind = Kind::Insert;
    int k = i + 1;
    if (word(k, "INTO"))
      ++k;
    QString nameSql;
    k = objectName(k, &st.table, &nameSql);
    QString text = QStringLiteral("INSERT INTO ") + nameSql;
    int columnsAt = -1;
    if (word(k, "SELECT") || word(k, "VALUES"))
      columnsAt = text.size();
    bool tc = false;
    Scope sc;
    text += tx(k, end, sc, tc) + sc.limit;
    SqlPiece p = piece(text, tc);
    // piece() trims; the prefix has no leading blanks, so the offset holds.
    p.insertColumnsAt = columnsAt;
    st.sql.push_back(p);
  }

  void updateStatement(Statement &st, int i, int end) {
    st.kind = Kind::Update;
    int k = i + 1;
    QString nameSql;
    k = objectName(k, &st.table, &nameSql);
    markAssignments(k, end);
    bool tc = false;
    Scope sc;
    QString text = QStringLiteral("UPDATE ") + nameSql + tx(k, end, sc, tc);
    if (!sc.limit.isEmpty())
      unsupported(QStringLiteral("UPDATE TOP"));
    st.sql.push_back(piece(text, tc));
  }

  void deleteStatement(Statement &st, int i, int end) {
    st.kind = Kind::Delete;
    int k = i + 1;
    if (word(k, "TOP"))
      unsupported(QStringLiteral("DELETE TOP"));
    if (word(k, "FROM"))
      ++k;
    QString nameSql;
    k = objectName(k, &st.table, &nameSql);
    if (word(k, "FROM"))
      unsupported(QStringLiteral("DELETE ... FROM ... (joined delete)"));
    bool tc = false;
    Scope sc;
    st.sql.push_back(piece(QStringLiteral("DELETE FROM ") + nameSql + tx(k, end, sc, tc), tc));
  }

  // Marks the "=" of "SET col = value" so that its value keeps its blanks.
  void markAssignments(int k, int end) {
    int s = k;
    while (s < end && !word(s, "SET")) {
      if (sym(s, "("))
        s = match_[s];
      ++s;
    }
    bool target = true;
    int j = s + 1;
    while (j < end) {
      if (sym(j, "(")) {
        j = match_[j] + 1;
        target = false;
        continue;
      }
      if (word(j, "WHERE") || word(j, "FROM") || word(j, "OPTION"))
        break;
      if (sym(j, ",")) {
        target = true;
        ++j;
        continue;
      }
      if (target && isName(j)) {
        int m = j;
        while (isName(m) && sym(m + 1, ".") && isName(m + 2))
          m += 2;
        ++m;
        if (sym(m, "="))
          assign_[m] = 1;
        target = false;
        j = m + 1;
        continue;
      }
      target = false;
      ++j;
    }
  }

  int ifStatement(Statement &st, int i, bool inBlock) {
    st.kind = Kind::If;
    int j = i + 1;
    int caseDepth = 0;
    while (j < e_) {
      if (sym(j, "(")) {
        j = match_[j] + 1;
        continue;
      }
      if (t_[j].type == Token::Go || sym(j, ";"))
        near(j);
      const QString k = key(j);
      if (k == QLatin1String("CASE"))
        ++caseDepth;
      else if (k == QLatin1String("END") && caseDepth > 0)
        --caseDepth;
      else if (caseDepth == 0 && isStatementKeyword(j))
        break;
      ++j;
    }
    if (j >= e_ || j == i + 1)
      near(j);
    bool tc = false;
    Scope sc;
    const QString cond = tx(i + 1, j, sc, tc);
    st.sql.push_back(piece(
        QStringLiteral("SELECT CASE WHEN ") + cond.trimmed() + QStringLiteral(" THEN 1 ELSE 0 END"), tc));
    int k = j;
    st.body.push_back(statement(k, inBlock));
    while (sym(k, ";") && word(k + 1, "ELSE"))
      ++k;
    if (word(k, "ELSE")) {
      ++k;
      if (k >= e_)
        near(k);
      st.body.push_back(statement(k, inBlock));
    }
    return k;
  }

  int beginStatement(Statement &st, int i) {
    int k = i + 1;
    if (word(k, "DISTRIBUTED"))
      ++k;
    if (word(k, "TRAN") || word(k, "TRANSACTION")) {
      st.kind = Kind::BeginTran;
      ++k;
      if (in(k) && ((t_[k].type == Token::Word && !isStatementKeyword(k)) || t_[k].type == Token::Variable ||
                    t_[k].type == Token::Name))
        ++k;
      return k;
    }
    if (word(k, "TRY"))
      unsupported(QStringLiteral("BEGIN TRY"));
    st.kind = Kind::Block;
    while (true) {
      while (sym(k, ";"))
        ++k;
      if (k >= e_ || t_[k].type == Token::Go)
        near(k);
      if (word(k, "END"))
        return k + 1;
      st.body.push_back(statement(k, true));
    }
  }

  void setStatement(Statement &st, int i, int end) {
    if (in(i + 1) && t_[i + 1].type == Token::Variable)
      throw CompileError{137, QStringLiteral("Must declare the scalar variable \"%1\".").arg(t_[i + 1].text)};
    const QString opt = key(i + 1);
    if (opt == QLatin1String("NOCOUNT") || opt == QLatin1String("XACT_ABORT")) {
      st.kind = Kind::SetOption;
      st.option = opt;
      if (word(i + 2, "ON"))
        st.on = true;
      else if (word(i + 2, "OFF"))
        st.on = false;
      else
        near(i + 2);
      if (i + 3 != end)
        near(i + 3);
      return;
    }
    if (ignoredSetOptions().contains(opt)) {
      st.kind = Kind::NoOp;
      return;
    }
    throw CompileError{
        195,
        QStringLiteral("'%1' is not a recognized SET option.").arg(in(i + 1) ? t_[i + 1].text : QString())};
  }

  // ---- CREATE
  int createStatement(Statement &st, int i) {
    int k = i + 1;
    bool orAlter = false;
    if (word(k, "OR") && word(k + 1, "ALTER")) {
      orAlter = true;
      k += 2;
    }
    bool unique = false;
    if (word(k, "UNIQUE")) {
      unique = true;
      ++k;
    }
    if (word(k, "CLUSTERED") || word(k, "NONCLUSTERED"))
      ++k;
    const QString what = key(k);
    if (what == QLatin1String("TABLE")) {
      const int end = scanSimple(i, QStringLiteral("CREATE"));
      createTable(st, k + 1, end);
      return end;
    }
    if (what == QLatin1String("INDEX")) {
      const int end = scanSimple(i, QStringLiteral("CREATE"));
      createIndex(st, k + 1, end, unique);
      return end;
    }
    if (what == QLatin1String("VIEW")) {
      const int end = scanToBatchEnd(k);
      createView(st, k + 1, end, orAlter);
      return end;
    }
    if (what == QLatin1String("TRIGGER")) {
      const int end = scanTrigger(k);
      st.kind = Kind::Ddl;
      objectName(k + 1, &st.option);
      for (int j = k; j < end; ++j)
        if (word(j, "ON")) {
          objectName(j + 1, &st.table);
          break;
        }
      bool tc = false;
      Scope sc;
      sc.raw = true;
      st.sql.push_back(piece(QStringLiteral("CREATE") + tx(k, end, sc, tc)));
      return end;
    }
    if (what == QLatin1String("DATABASE")) {
      st.kind = Kind::CreateDatabase;
      st.option = nameText(k + 1);
      const int end = scanSimple(i, QStringLiteral("CREATE"));
      if (end != k + 2)
        unsupported(QStringLiteral("CREATE DATABASE with options"));
      return end;
    }
    if (what == QLatin1String("PROCEDURE") || what == QLatin1String("PROC") ||
        what == QLatin1String("FUNCTION")) {
      const int end = scanToBatchEnd(k);
      st.kind = Kind::Failure;
      st.native = kUnsupported;
      st.message = QStringLiteral("CREATE %1 is not supported by the embedded database engine.").arg(what);
      return end;
    }
    near(k);
  }

  struct ColumnConstraint {
    enum Type { Text, PrimaryKey } type = Text;
    QString name;
    QString text;
  };

  struct ColumnDef {
    QString name;
    QString type;
    TipoColumna info;
    bool identity = false;
    bool notNull = false;
    bool caseSensitive = false;
    bool hasDefault = false;
    bool withValues = false;
    QString computed;
    QVector<ColumnConstraint> constraints;
  };

  struct TableConstraint {
    enum Type { PrimaryKey, Other } type = Other;
    QString name;
    QStringList columns;
    QString text; // everything after the name for Other
  };

  QStringList columnList(int open, QString *sqlText) const {
    expectSym(open, "(");
    const int close = match_[open];
    QStringList names, parts;
    int j = open + 1;
    while (j < close) {
      const QString n = nameText(j);
      QString part = quoteIdent(n);
      ++j;
      if (word(j, "ASC") || word(j, "DESC")) {
        part += QLatin1Char(' ') + t_[j].key;
        ++j;
      }
      names << n;
      parts << part;
      if (j < close) {
        expectSym(j, ",");
        ++j;
      }
    }
    if (names.isEmpty())
      near(close);
    if (sqlText)
      *sqlText = QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
    return names;
  }

  std::vector<std::pair<int, int>> splitCommas(int b, int e) const {
    std::vector<std::pair<int, int>> out;
    int s = b;
    for (int j = b; j < e; ++j) {
      if (sym(j, "("))
        j = match_[j];
      else if (sym(j, ",")) {
        out.push_back({s, j});
        s = j + 1;
      }
    }
    if (s < e || !out.empty())
      out.push_back({s, e});
    return out;
  }

  // Text of a referenced table with its optional columns and actions.
  int references(int j, int end, QString *text) const {
    QString refTable;
    j = objectName(j, &refTable);
    QString out = QStringLiteral("REFERENCES ") + quoteIdent(refTable);
    if (sym(j, "(")) {
      QString cols;
      columnList(j, &cols);
      out += QLatin1Char(' ') + cols;
      j = match_[j] + 1;
    }
    while (j < end) {
      if (word(j, "ON") && (word(j + 1, "DELETE") || word(j + 1, "UPDATE"))) {
        out += QStringLiteral(" ON ") + t_[j + 1].key;
        j += 2;
        if (word(j, "CASCADE")) {
          out += QStringLiteral(" CASCADE");
          ++j;
        } else if (word(j, "NO") && word(j + 1, "ACTION")) {
          out += QStringLiteral(" NO ACTION");
          j += 2;
        } else if (word(j, "SET") && (word(j + 1, "NULL") || word(j + 1, "DEFAULT"))) {
          out += QStringLiteral(" SET ") + t_[j + 1].key;
          j += 2;
        } else {
          near(j);
        }
      } else if (word(j, "NOT") && word(j + 1, "FOR") && word(j + 2, "REPLICATION")) {
        j += 3;
      } else {
        break;
      }
    }
    *text = out;
    return j;
  }

  QString defaultText(int j, int end, int *next) {
    int stop;
    if (sym(j, "("))
      stop = match_[j] + 1;
    else if ((sym(j, "-") || sym(j, "+")) && in(j + 1) && t_[j + 1].type == Token::Number)
      stop = j + 2;
    else if (in(j) && t_[j].type == Token::Word && sym(j + 1, "("))
      stop = match_[j + 1] + 1;
    else if (in(j) &&
             (t_[j].type == Token::String || t_[j].type == Token::Number || t_[j].type == Token::Word))
      stop = j + 1;
    else
      near(j);
    if (stop > end)
      near(end);
    bool tc = false;
    Scope sc;
    QString v = tx(j, stop, sc, tc).trimmed();
    if (tc)
      near(j);
    *next = stop;
    if (!(v.startsWith(QLatin1Char('(')) && sym(j, "(")))
      v = QLatin1Char('(') + v + QLatin1Char(')');
    return QStringLiteral("DEFAULT ") + v;
  }

  ColumnDef columnDef(int b, int e, const QString &table) {
    ColumnDef c;
    c.name = nameText(b);
    int j = b + 1;
    if (word(j, "AS")) {
      ++j;
      int stop = e;
      if (word(e - 1, "PERSISTED"))
        stop = e - 1;
      bool tc = false;
      Scope sc;
      QString expr = tx(j, stop, sc, tc).trimmed();
      c.computed = QStringLiteral("AS (") + expr + QLatin1Char(')');
      return c;
    }
    if (!isName(j))
      near(j);
    int tEnd;
    QString typeName;
    tEnd = objectName(j, &typeName);
    if (typeName.compare(QLatin1String("double"), Qt::CaseInsensitive) == 0 && word(tEnd, "PRECISION")) {
      typeName += QStringLiteral(" precision");
      ++tEnd;
    }
    c.type = typeName;
    if (sym(tEnd, "(")) {
      const int close = match_[tEnd];
      QStringList args;
      for (const auto &a : splitCommas(tEnd + 1, close)) {
        if (a.second != a.first + 1)
          near(a.first);
        args << t_[a.first].text;
      }
      c.type += QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')');
      tEnd = close + 1;
    }
    c.info = tipoDeclarado(c.type);
    j = tEnd;
    QString pendingName;
    auto takeName = [&](const QString &fallback) {
      QString n = pendingName.isEmpty() ? fallback : pendingName;
      pendingName.clear();
      return n;
    };
    while (j < e) {
      const QString k = key(j);
      if (k == QLatin1String("CONSTRAINT")) {
        pendingName = nameText(j + 1);
        j += 2;
      } else if (k == QLatin1String("IDENTITY")) {
        c.identity = true;
        ++j;
        if (sym(j, "("))
          j = match_[j] + 1;
      } else if (k == QLatin1String("NOT") && word(j + 1, "NULL")) {
        c.notNull = true;
        j += 2;
      } else if (k == QLatin1String("NOT") && word(j + 1, "FOR") && word(j + 2, "REPLICATION")) {
        j += 3;
      } else if (k == QLatin1String("NULL")) {
        ++j;
      } else if (k == QLatin1String("DEFAULT")) {
        const QString name = pendingName;
        pendingName.clear();
        QString d = defaultText(j + 1, e, &j);
        c.hasDefault = true;
        if (word(j, "WITH") && word(j + 1, "VALUES")) {
          c.withValues = true;
          j += 2;
        }
        c.constraints.push_back(
            {ColumnConstraint::Text, name,
             (name.isEmpty() ? QString()
                             : QStringLiteral("CONSTRAINT ") + quoteIdent(name) + QLatin1Char(' ')) +
                 d});
      } else if (k == QLatin1String("PRIMARY") && word(j + 1, "KEY")) {
        j += 2;
        while (word(j, "CLUSTERED") || word(j, "NONCLUSTERED") || word(j, "ASC") || word(j, "DESC"))
          ++j;
        c.constraints.push_back({ColumnConstraint::PrimaryKey, takeName(QStringLiteral("PK__") + table), {}});
      } else if (k == QLatin1String("UNIQUE")) {
        ++j;
        while (word(j, "CLUSTERED") || word(j, "NONCLUSTERED"))
          ++j;
        const QString n = takeName(QStringLiteral("UQ__%1__%2").arg(table, c.name));
        c.constraints.push_back({ColumnConstraint::Text, n,
                                 QStringLiteral("CONSTRAINT ") + quoteIdent(n) + QStringLiteral(" UNIQUE")});
      } else if (k == QLatin1String("CHECK")) {
        ++j;
        if (word(j, "NOT") && word(j + 1, "FOR") && word(j + 2, "REPLICATION"))
          j += 3;
        expectSym(j, "(");
        const int close = match_[j];
        bool tc = false;
        Scope sc;
        const QString expr = tx(j + 1, close, sc, tc).trimmed();
        const QString n = takeName(QStringLiteral("CK__%1__%2").arg(table, c.name));
        c.constraints.push_back({ColumnConstraint::Text, n,
                                 QStringLiteral("CONSTRAINT ") + quoteIdent(n) + QStringLiteral(" CHECK (") +
                                     expr + QLatin1Char(')')});
        j = close + 1;
      } else if (k == QLatin1String("FOREIGN") || k == QLatin1String("REFERENCES")) {
        if (k == QLatin1String("FOREIGN")) {
          if (!word(j + 1, "KEY"))
            near(j + 1);
          j += 2;
        }
        if (!word(j, "REFERENCES"))
          near(j);
        QString ref;
        j = references(j + 1, e, &ref);
        const QString n = takeName(QStringLiteral("FK__%1__%2").arg(table, c.name));
        c.constraints.push_back({ColumnConstraint::Text, n,
                                 QStringLiteral("CONSTRAINT ") + quoteIdent(n) + QLatin1Char(' ') + ref});
      } else if (k == QLatin1String("COLLATE")) {
        const QString coll = nameText(j + 1).toUpper();
        c.caseSensitive = coll.contains(QLatin1String("_CS")) || coll.endsWith(QLatin1String("_BIN")) ||
                          coll.endsWith(QLatin1String("_BIN2"));
        j += 2;
      } else if (k == QLatin1String("ROWGUIDCOL") || k == QLatin1String("SPARSE")) {
        ++j;
      } else {
        near(j);
      }
    }
    if (!pendingName.isEmpty())
      near(e);
    return c;
  }

  // Text of a column for CREATE TABLE or ADD COLUMN.
  QString columnText(const ColumnDef &c, bool identityHere, bool otherIdentity, bool forcedNotNull,
                     bool notNullAsCheck) const {
    QString s = quoteIdent(c.name);
    if (!c.computed.isEmpty())
      return s + QLatin1Char(' ') + c.computed;
    bool pkDone = false;
    if (identityHere) {
      s += QStringLiteral(" INTEGER");
      for (const ColumnConstraint &cc : c.constraints)
        if (cc.type == ColumnConstraint::PrimaryKey) {
          s += QStringLiteral(" CONSTRAINT ") + quoteIdent(cc.name);
          break;
        }
      s += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
      pkDone = true;
    } else {
      s += QLatin1Char(' ') + c.type;
    }
    bool isPk = false;
    for (const ColumnConstraint &cc : c.constraints)
      if (cc.type == ColumnConstraint::PrimaryKey)
        isPk = true;
    const bool notNull = !identityHere && (c.notNull || forcedNotNull || isPk);
    if (notNull && !notNullAsCheck)
      s += QStringLiteral(" NOT NULL");
    for (const ColumnConstraint &cc : c.constraints) {
      if (cc.type == ColumnConstraint::PrimaryKey) {
        if (pkDone)
          continue;
        s += QStringLiteral(" CONSTRAINT ") + quoteIdent(cc.name) +
             (otherIdentity ? QStringLiteral(" UNIQUE /*zv:pk*/") : QStringLiteral(" PRIMARY KEY"));
        continue;
      }
      s += QLatin1Char(' ') + cc.text;
    }
    if (notNull && notNullAsCheck)
      s += QStringLiteral(" CONSTRAINT ") + quoteIdent(QStringLiteral("ZVNN_") + c.name) +
           QStringLiteral(" CHECK (") + quoteIdent(c.name) + QStringLiteral(" IS NOT NULL)");
    if (c.info.text && !c.caseSensitive && !identityHere)
      s += QStringLiteral(" COLLATE NOCASE");
    if (c.info.length > 0 && !identityHere)
      s += QStringLiteral(" CONSTRAINT ") + quoteIdent(QStringLiteral("ZVLEN_") + c.name) +
           QStringLiteral(" CHECK (length(") + quoteIdent(c.name) + QStringLiteral(") <= ") +
           QString::number(c.info.length) + QLatin1Char(')');
    return s;
  }

  void createTable(Statement &st, int k, int end) {
    st.kind = Kind::Ddl;
    k = objectName(k, &st.table);
    const bool temp = st.table.startsWith(QLatin1Char('#'));
    expectSym(k, "(");
    const int close = match_[k];
    std::vector<ColumnDef> cols;
    std::vector<TableConstraint> cons;
    for (const auto &item : splitCommas(k + 1, close)) {
      int j = item.first;
      const int e = item.second;
      if (j >= e)
        near(j);
      QString name;
      int cj = j;
      if (word(j, "CONSTRAINT")) {
        name = nameText(j + 1);
        cj = j + 2;
      }
      const QString kw = key(cj);
      if (cj != j || kw == QLatin1String("PRIMARY") || kw == QLatin1String("UNIQUE") ||
          kw == QLatin1String("CHECK") || kw == QLatin1String("FOREIGN")) {
        cons.push_back(tableConstraint(cj, e, name, st.table, cols));
        continue;
      }
      cols.push_back(columnDef(j, e, st.table));
    }
    if (cols.empty())
      near(close);
    // After the column list only storage details may follow (ON [PRIMARY], TEXTIMAGE_ON ...).
    for (int j = close + 1; j < end;) {
      if ((word(j, "ON") || word(j, "TEXTIMAGE_ON")) && isName(j + 1))
        j += 2;
      else if (word(j, "WITH") && sym(j + 1, "("))
        j = match_[j + 1] + 1;
      else
        near(j);
    }
    int identity = -1;
    for (int c = 0; c < int(cols.size()); ++c)
      if (cols[c].identity) {
        if (identity >= 0)
          throw CompileError{2744,
                             QStringLiteral("Multiple identity columns specified for table '%1'. Only one "
                                            "identity column per table is allowed.")
                                 .arg(st.table)};
        identity = c;
      }
    QSet<QString> pkColumns;
    for (auto it = cons.begin(); it != cons.end();) {
      if (it->type == TableConstraint::PrimaryKey) {
        for (const QString &c : it->columns)
          pkColumns.insert(c.toUpper());
        if (identity >= 0 && it->columns.size() == 1 &&
            it->columns[0].compare(cols[identity].name, Qt::CaseInsensitive) == 0) {
          cols[identity].constraints.push_back({ColumnConstraint::PrimaryKey, it->name, {}});
          it = cons.erase(it);
          continue;
        }
      }
      ++it;
    }
    QStringList parts;
    for (int c = 0; c < int(cols.size()); ++c)
      parts << columnText(cols[c], c == identity, identity >= 0 && c != identity,
                          pkColumns.contains(cols[c].name.toUpper()), false);
    for (const TableConstraint &tc : cons) {
      if (tc.type == TableConstraint::PrimaryKey) {
        QStringList q;
        for (const QString &c : tc.columns)
          q << quoteIdent(c);
        parts << QStringLiteral("CONSTRAINT ") + quoteIdent(tc.name) +
                     (identity >= 0 ? QStringLiteral(" UNIQUE /*zv:pk*/ (")
                                    : QStringLiteral(" PRIMARY KEY (")) +
                     q.join(QStringLiteral(", ")) + QLatin1Char(')');
      } else {
        parts << QStringLiteral("CONSTRAINT ") + quoteIdent(tc.name) + QLatin1Char(' ') + tc.text;
      }
    }
    st.sql.push_back(piece(QStringLiteral("CREATE ") + (temp ? QStringLiteral("TEMP ") : QString()) +
                           QStringLiteral("TABLE ") + quoteIdent(st.table) + QStringLiteral(" (\n  ") +
                           parts.join(QStringLiteral(",\n  ")) + QStringLiteral("\n)")));
  }

  TableConstraint tableConstraint(int j, int e, const QString &name, const QString &table,
                                  std::vector<ColumnDef> &cols) {
    TableConstraint tc;
    const QString k = key(j);
    if (k == QLatin1String("PRIMARY") || k == QLatin1String("UNIQUE")) {
      const bool pk = k == QLatin1String("PRIMARY");
      j += pk ? 2 : 1;
      if (pk && !word(j - 1, "KEY"))
        near(j - 1);
      while (word(j, "CLUSTERED") || word(j, "NONCLUSTERED"))
        ++j;
      QString colsText;
      tc.columns = columnList(j, &colsText);
      j = match_[j] + 1;
      if (word(j, "WITH") && sym(j + 1, "("))
        j = match_[j + 1] + 1;
      if (word(j, "ON") && isName(j + 1))
        j += 2;
      if (j != e)
        near(j);
      if (pk) {
        tc.type = TableConstraint::PrimaryKey;
        tc.name = name.isEmpty() ? QStringLiteral("PK__") + table : name;
      } else {
        tc.name = name.isEmpty() ? QStringLiteral("UQ__%1__%2").arg(table, tc.columns.join(QLatin1Char('_')))
                                 : name;
        tc.text = QStringLiteral("UNIQUE ") + colsText;
      }
      return tc;
    }
    if (k == QLatin1String("CHECK")) {
      ++j;
      if (word(j, "NOT") && word(j + 1, "FOR") && word(j + 2, "REPLICATION"))
        j += 3;
      expectSym(j, "(");
      const int close = match_[j];
      bool t = false;
      Scope sc;
      tc.text = QStringLiteral("CHECK (") + tx(j + 1, close, sc, t).trimmed() + QLatin1Char(')');
      if (close + 1 != e)
        near(close + 1);
      tc.name = name.isEmpty() ? QStringLiteral("CK__") + table : name;
      return tc;
    }
    if (k == QLatin1String("FOREIGN")) {
      if (!word(j + 1, "KEY"))
        near(j + 1);
      QString colsText;
      tc.columns = columnList(j + 2, &colsText);
      j = match_[j + 2] + 1;
      if (!word(j, "REFERENCES"))
        near(j);
      QString ref;
      j = references(j + 1, e, &ref);
      if (j != e)
        near(j);
      tc.name =
          name.isEmpty() ? QStringLiteral("FK__%1__%2").arg(table, tc.columns.join(QLatin1Char('_'))) : name;
      tc.text = QStringLiteral("FOREIGN KEY ") + colsText + QLatin1Char(' ') + ref;
      return tc;
    }
    if (k == QLatin1String("DEFAULT")) {
      // CONSTRAINT n DEFAULT (v) FOR col: belongs to the column.
      int next;
      const QString d = defaultText(j + 1, e, &next);
      if (!word(next, "FOR"))
        near(next);
      const QString col = nameText(next + 1);
      if (next + 2 != e)
        near(next + 2);
      for (ColumnDef &c : cols)
        if (c.name.compare(col, Qt::CaseInsensitive) == 0) {
          c.hasDefault = true;
          c.constraints.push_back(
              {ColumnConstraint::Text, name,
               (name.isEmpty() ? QString()
                               : QStringLiteral("CONSTRAINT ") + quoteIdent(name) + QLatin1Char(' ')) +
                   d});
          tc.type = TableConstraint::Other;
          tc.name = QString();
          return tc;
        }
      near(next + 1);
    }
    near(j);
  }

  void createIndex(Statement &st, int k, int end, bool unique) {
    st.kind = Kind::Ddl;
    const QString index = nameText(k);
    if (!word(k + 1, "ON"))
      near(k + 1);
    int j = objectName(k + 2, &st.table);
    QString cols;
    columnList(j, &cols);
    j = match_[j] + 1;
    QString where;
    while (j < end) {
      if (word(j, "INCLUDE") && sym(j + 1, "(")) {
        j = match_[j + 1] + 1;
      } else if (word(j, "WHERE")) {
        int w = j + 1;
        while (w < end && !word(w, "WITH") && !(word(w, "ON") && isName(w + 1) && w + 2 == end))
          ++w;
        bool tc = false;
        Scope sc;
        where = QStringLiteral(" WHERE") + tx(j + 1, w, sc, tc);
        j = w;
      } else if (word(j, "WITH") && sym(j + 1, "(")) {
        j = match_[j + 1] + 1;
      } else if (word(j, "ON") && isName(j + 1)) {
        j += 2;
      } else {
        near(j);
      }
    }
    // Index names belong to their table, as on the server; SQLite's are
    // global, so they are stored qualified by the table.
    st.option = index;
    st.sql.push_back(piece(QStringLiteral("CREATE ") + (unique ? QStringLiteral("UNIQUE ") : QString()) +
                           QStringLiteral("INDEX ") + quoteIdent(st.table + QLatin1Char('.') + index) +
                           QStringLiteral(" ON ") + quoteIdent(st.table) + QLatin1Char(' ') + cols + where));
  }

  void createView(Statement &st, int k, int end, bool replace) {
    st.kind = Kind::Ddl;
    int j = objectName(k, &st.table);
    QString cols;
    if (sym(j, "(")) {
      columnList(j, &cols);
      cols = QLatin1Char(' ') + cols;
      j = match_[j] + 1;
    }
    if (word(j, "WITH") && word(j + 1, "SCHEMABINDING"))
      j += 2;
    if (!word(j, "AS"))
      near(j);
    if (!word(j + 1, "SELECT"))
      near(j + 1);
    bool tc = false;
    Scope sc;
    const QString select = tx(j + 1, end, sc, tc) + sc.limit;
    if (tc)
      near(j + 1);
    if (replace)
      st.sql.push_back(piece(QStringLiteral("DROP VIEW IF EXISTS ") + quoteIdent(st.table)));
    st.sql.push_back(piece(QStringLiteral("CREATE VIEW ") + quoteIdent(st.table) + cols +
                           QStringLiteral(" AS ") + select.trimmed()));
  }

  // ---- DROP
  void dropStatement(Statement &st, int i, int end) {
    int k = i + 1;
    const QString what = key(k);
    ++k;
    bool ifExists = false;
    if (word(k, "IF") && word(k + 1, "EXISTS")) {
      ifExists = true;
      k += 2;
    }
    const QString ie = ifExists ? QStringLiteral("IF EXISTS ") : QString();
    if (what == QLatin1String("DATABASE")) {
      st.kind = Kind::DropDatabase;
      st.option = nameText(k);
      if (k + 1 != end)
        near(k + 1);
      return;
    }
    if (what == QLatin1String("PROCEDURE") || what == QLatin1String("PROC") ||
        what == QLatin1String("FUNCTION")) {
      st.kind = Kind::Failure;
      st.native = kUnsupported;
      st.message = QStringLiteral("DROP %1 is not supported by the embedded database engine.").arg(what);
      return;
    }
    if (what != QLatin1String("TABLE") && what != QLatin1String("VIEW") && what != QLatin1String("INDEX") &&
        what != QLatin1String("TRIGGER"))
      near(k - 1);
    st.kind =
        (what == QLatin1String("TABLE") || what == QLatin1String("TRIGGER")) ? Kind::DropTable : Kind::Ddl;
    st.option = what;
    for (const auto &item : splitCommas(k, end)) {
      int j = item.first;
      QString name;
      if (what == QLatin1String("INDEX")) {
        // table.index (with optional owner), or index ON table
        QString table;
        if (sym(j + 1, ".")) {
          QStringList parts;
          parts << nameText(j);
          while (sym(j + 1, ".")) {
            parts << nameText(j + 2);
            j += 2;
          }
          ++j;
          name = parts.last();
          table = parts.at(parts.size() - 2);
          name = table + QLatin1Char('.') + name;
        } else if (word(j + 1, "ON")) {
          const QString index = nameText(j);
          j = objectName(j + 2, &table);
          name = table + QLatin1Char('.') + index;
        } else {
          name = nameText(j);
          ++j;
        }
        if (j != item.second)
          near(j);
        st.table = table;
      } else {
        j = objectName(j, &name);
        if (j != item.second)
          near(j);
        if (st.table.isEmpty())
          st.table = name;
      }
      st.names << name;
      st.sql.push_back(piece(QStringLiteral("DROP ") + what + QLatin1Char(' ') + ie + quoteIdent(name)));
    }
    if (st.sql.isEmpty())
      near(k);
  }

  // ---- ALTER
  int alterStatement(Statement &st, int i) {
    int k = i + 1;
    if (word(k, "VIEW")) {
      const int end = scanToBatchEnd(k);
      createView(st, k + 1, end, true);
      return end;
    }
    const int end = scanSimple(i, QStringLiteral("ALTER"));
    if (!word(k, "TABLE"))
      unsupported(QStringLiteral("ALTER ") + (in(k) ? t_[k].text : QString()));
    k = objectName(k + 1, &st.table);
    const QString op = key(k);
    if ((op == QLatin1String("DISABLE") || op == QLatin1String("ENABLE")) && word(k + 1, "TRIGGER")) {
      st.kind = op == QLatin1String("DISABLE") ? Kind::DisableTriggers : Kind::EnableTriggers;
      int j = k + 2;
      if (word(j, "ALL")) {
        ++j;
      } else {
        for (const auto &item : splitCommas(j, end)) {
          QString n;
          if (objectName(item.first, &n) != item.second)
            near(item.first);
          st.names << n;
        }
        j = end;
        if (st.names.isEmpty())
          near(k + 2);
      }
      if (j != end)
        near(j);
      return end;
    }
    if (op == QLatin1String("ADD")) {
      addColumns(st, k + 1, end);
      return end;
    }
    if (op == QLatin1String("DROP") && word(k + 1, "COLUMN")) {
      st.kind = Kind::Ddl;
      for (const auto &item : splitCommas(k + 2, end)) {
        const QString col = nameText(item.first);
        if (item.second != item.first + 1)
          near(item.first + 1);
        st.sql.push_back(piece(QStringLiteral("ALTER TABLE ") + quoteIdent(st.table) +
                               QStringLiteral(" DROP COLUMN ") + quoteIdent(col)));
      }
      if (st.sql.isEmpty())
        near(k + 2);
      return end;
    }
    unsupported(QStringLiteral("ALTER TABLE ... %1").arg(in(k) ? t_[k].text : QString()));
  }

  void addColumns(Statement &st, int k, int end) {
    st.kind = Kind::AddColumns;
    if (word(k, "CONSTRAINT") || word(k, "PRIMARY") || word(k, "UNIQUE") || word(k, "CHECK") ||
        word(k, "FOREIGN"))
      unsupported(QStringLiteral("ALTER TABLE ... ADD CONSTRAINT"));
    for (const auto &item : splitCommas(k, end)) {
      if (item.first >= item.second)
        near(item.first);
      ColumnDef c = columnDef(item.first, item.second, st.table);
      if (c.identity)
        unsupported(QStringLiteral("Adding an identity column"));
      for (const ColumnConstraint &cc : c.constraints)
        if (cc.type == ColumnConstraint::PrimaryKey || cc.text.contains(QLatin1String(" UNIQUE")))
          unsupported(QStringLiteral("Adding a key column"));
      // A NOT NULL column without a default can only join an empty table;
      // the check constraint makes SQLite test that on the existing rows.
      const bool asCheck = c.notNull && !c.hasDefault;
      st.sql.push_back(piece(QStringLiteral("ALTER TABLE ") + quoteIdent(st.table) +
                             QStringLiteral(" ADD COLUMN ") + columnText(c, false, false, false, asCheck)));
      st.names << c.name;
      st.flags << (!c.notNull && c.hasDefault && !c.withValues);
    }
  }

  // ---- expressions
  bool isComparison(int i) const {
    if (!in(i) || t_[i].type != Token::Symbol || assign_[i])
      return false;
    const QString &x = t_[i].text;
    const QChar a = x.at(0);
    if (x.size() == 1)
      return a == QLatin1Char('=') || a == QLatin1Char('<') || a == QLatin1Char('>');
    const QChar b = x.at(1);
    return (a == QLatin1Char('<') && (b == QLatin1Char('>') || b == QLatin1Char('='))) ||
           (a == QLatin1Char('>') && b == QLatin1Char('=')) ||
           (a == QLatin1Char('!') &&
            (b == QLatin1Char('=') || b == QLatin1Char('<') || b == QLatin1Char('>'))) ||
           (a == QLatin1Char('=') && b == QLatin1Char('='));
  }
  bool isConcat(int i) const { return sym(i, "+") || sym(i, "||"); }
  bool isString(int i) const { return in(i) && t_[i].type == Token::String; }

  bool isHintGroup(int open) const {
    if (!sym(open, "("))
      return false;
    const int close = match_[open];
    if (close == open + 1)
      return false;
    int j = open + 1;
    while (j < close) {
      if (!in(j) || t_[j].type != Token::Word || !tableHints().contains(t_[j].key))
        return false;
      ++j;
      if (sym(j, "("))
        j = match_[j] + 1;
      else if (sym(j, "=")) {
        j += 2;
      }
      if (j < close) {
        if (!sym(j, ","))
          return false;
        ++j;
      }
    }
    return true;
  }

  // Start of the SELECT that a TOP at i belongs to, or -1.
  bool topOfSelect(int i) const {
    int p = i - 1;
    if (word(p, "DISTINCT") || word(p, "ALL"))
      --p;
    return word(p, "SELECT");
  }

  std::vector<std::pair<int, int>> args(int open) const { return splitCommas(open + 1, match_[open]); }

  QString arg(const std::pair<int, int> &a, bool &tc) {
    Scope sc;
    sc.raw = false;
    return (tx(a.first, a.second, sc, tc) + sc.limit).trimmed();
  }

  QString castType(int b, int e, const QString &value) const {
    if (b >= e || !isName(b))
      near(b);
    TipoColumna t =
        tipoDeclarado(t_[b].text + (sym(b + 1, "(") ? sourceOf(b + 1, match_[b + 1] + 1) : QString()));
    if (t.text) {
      const QString c = QStringLiteral("CAST(") + value + QStringLiteral(" AS TEXT)");
      return t.length > 0 ? QStringLiteral("substr(%1,1,%2)").arg(c).arg(t.length) : c;
    }
    if (t.date)
      return QStringLiteral("CAST(") + value + QStringLiteral(" AS TEXT)");
    if (t.base == QLatin1String("int") || t.base == QLatin1String("integer") ||
        t.base == QLatin1String("bigint") || t.base == QLatin1String("smallint") ||
        t.base == QLatin1String("tinyint") || t.bit)
      return QStringLiteral("CAST(") + value + QStringLiteral(" AS INTEGER)");
    if (t.decimal || t.floating)
      return QStringLiteral("CAST(") + value + QStringLiteral(" AS REAL)");
    return QStringLiteral("CAST(") + value + QStringLiteral(" AS ") + t_[b].text + QLatin1Char(')');
  }

  // Rewrites a function call at i (name) with its argument list at i+1.
  // Returns false when the call goes through unchanged.
  bool function(int i, QString &out, bool &tc, int *next) {
    const QString &k = t_[i].key;
    const int open = i + 1;
    const int close = match_[open];
    const QString &lead = t_[i].lead;
    auto a = [&]() { return args(open); };
    auto done = [&](const QString &text) {
      put(out, lead, text);
      *next = close;
      return true;
    };
    if (k == QLatin1String("GETDATE") || k == QLatin1String("SYSDATETIME") ||
        k == QLatin1String("CURRENT_TIMESTAMP"))
      return done(kNow);
    if (k == QLatin1String("GETUTCDATE") || k == QLatin1String("SYSUTCDATETIME"))
      return done(QStringLiteral("strftime('%Y-%m-%d %H:%M:%f','now')"));
    if (k == QLatin1String("SCOPE_IDENTITY"))
      return done(QStringLiteral("last_insert_rowid()"));
    if (k == QLatin1String("LEN")) {
      const auto v = a();
      if (v.size() != 1)
        near(open);
      return done(QStringLiteral("length(rtrim(") + arg(v[0], tc) + QStringLiteral("))"));
    }
    if (k == QLatin1String("LEFT")) {
      const auto v = a();
      if (v.size() != 2)
        near(open);
      return done(QStringLiteral("substr(%1,1,%2)").arg(arg(v[0], tc), arg(v[1], tc)));
    }
    if (k == QLatin1String("RIGHT")) {
      const auto v = a();
      if (v.size() != 2)
        near(open);
      const QString s = arg(v[0], tc);
      return done(QStringLiteral("substr(%1,max(length(%1)-(%2)+1,1))").arg(s, arg(v[1], tc)));
    }
    if (k == QLatin1String("CHARINDEX")) {
      const auto v = a();
      if (v.size() == 2)
        return done(QStringLiteral("instr(%1,%2)").arg(arg(v[1], tc), arg(v[0], tc)));
      if (v.size() == 3) {
        const QString f =
            QStringLiteral("instr(substr(%1,%3),%2)").arg(arg(v[1], tc), arg(v[0], tc), arg(v[2], tc));
        return done(QStringLiteral("(CASE WHEN %1 > 0 THEN %1 + (%2) - 1 ELSE 0 END)").arg(f, arg(v[2], tc)));
      }
      near(open);
    }
    if (k == QLatin1String("CONVERT")) {
      const auto v = a();
      if (v.size() < 2 || v.size() > 3)
        near(open);
      return done(castType(v[0].first, v[0].second, arg(v[1], tc)));
    }
    if (k == QLatin1String("CAST")) {
      int as = -1;
      for (int j = open + 1; j < close; ++j) {
        if (sym(j, "("))
          j = match_[j];
        else if (word(j, "AS"))
          as = j;
      }
      if (as < 0)
        near(close);
      return done(castType(as + 1, close, arg({open + 1, as}, tc)));
    }
    if (k == QLatin1String("YEAR") || k == QLatin1String("MONTH") || k == QLatin1String("DAY")) {
      const auto v = a();
      if (v.size() != 1)
        near(open);
      const char *f = k == QLatin1String("YEAR") ? "%Y" : k == QLatin1String("MONTH") ? "%m" : "%d";
      return done(QStringLiteral("CAST(strftime('%1',%2) AS INTEGER)").arg(QLatin1String(f), arg(v[0], tc)));
    }
    if (k == QLatin1String("DATEADD")) {
      const auto v = a();
      if (v.size() != 3)
        near(open);
      const QString part = key(v[0].first).toLower();
      QString unit;
      QString n = arg(v[1], tc);
      if (part == QLatin1String("day") || part == QLatin1String("dd") || part == QLatin1String("d"))
        unit = QStringLiteral("days");
      else if (part == QLatin1String("month") || part == QLatin1String("mm") || part == QLatin1String("m"))
        unit = QStringLiteral("months");
      else if (part == QLatin1String("year") || part == QLatin1String("yy") || part == QLatin1String("yyyy"))
        unit = QStringLiteral("years");
      else if (part == QLatin1String("hour") || part == QLatin1String("hh"))
        unit = QStringLiteral("hours");
      else if (part == QLatin1String("minute") || part == QLatin1String("mi") || part == QLatin1String("n"))
        unit = QStringLiteral("minutes");
      else if (part == QLatin1String("second") || part == QLatin1String("ss") || part == QLatin1String("s"))
        unit = QStringLiteral("seconds");
      else if (part == QLatin1String("week") || part == QLatin1String("wk") || part == QLatin1String("ww")) {
        unit = QStringLiteral("days");
        n = QStringLiteral("(%1)*7").arg(n);
      } else
        unsupported(QStringLiteral("DATEADD(%1, ...)").arg(part));
      return done(QStringLiteral("strftime('%Y-%m-%d %H:%M:%f',%1,(%2)||' %3')").arg(arg(v[2], tc), n, unit));
    }
    if (k == QLatin1String("DATEDIFF")) {
      const auto v = a();
      if (v.size() != 3)
        near(open);
      const QString part = key(v[0].first).toLower();
      const QString x = arg(v[1], tc), y = arg(v[2], tc);
      auto f = [](const char *fmt, const QString &d) {
        return QStringLiteral("CAST(strftime('%1',%2) AS INTEGER)").arg(QLatin1String(fmt), d);
      };
      if (part == QLatin1String("day") || part == QLatin1String("dd") || part == QLatin1String("d"))
        return done(QStringLiteral("CAST(julianday(date(%2)) - julianday(date(%1)) AS INTEGER)").arg(x, y));
      if (part == QLatin1String("year") || part == QLatin1String("yy") || part == QLatin1String("yyyy"))
        return done(QStringLiteral("(%1 - %2)").arg(f("%Y", y), f("%Y", x)));
      if (part == QLatin1String("month") || part == QLatin1String("mm") || part == QLatin1String("m"))
        return done(
            QStringLiteral("((%1 - %2) * 12 + %3 - %4)").arg(f("%Y", y), f("%Y", x), f("%m", y), f("%m", x)));
      unsupported(QStringLiteral("DATEDIFF(%1, ...)").arg(part));
    }
    if (k == QLatin1String("NEWID"))
      return done(
          QStringLiteral("(SELECT substr(h,1,8)||'-'||substr(h,9,4)||'-'||substr(h,13,4)||'-'||substr(h,17,4)"
                         "||'-'||substr(h,21) FROM (SELECT upper(hex(randomblob(16))) AS h))"));
    if (k == QLatin1String("OBJECT_ID")) {
      const auto v = a();
      if (v.empty() || !isString(v[0].first) || v[0].second != v[0].first + 1)
        near(open);
      QString n = t_[v[0].first].text;
      const int dot = n.lastIndexOf(QLatin1Char('.'));
      if (dot >= 0)
        n = n.mid(dot + 1);
      if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
      return done(
          QStringLiteral("(SELECT rowid FROM sqlite_master WHERE type IN ('table','view','trigger') AND "
                         "name = %1 COLLATE NOCASE)")
              .arg(quoteString(n)));
    }
    static const QHash<QString, QString> renamed = {{QStringLiteral("ISNULL"), QStringLiteral("ifnull")},
                                                    {QStringLiteral("SUBSTRING"), QStringLiteral("substr")},
                                                    {QStringLiteral("DATALENGTH"), QStringLiteral("length")},
                                                    {QStringLiteral("ASCII"), QStringLiteral("unicode")},
                                                    {QStringLiteral("UNICODE"), QStringLiteral("unicode")},
                                                    {QStringLiteral("NCHAR"), QStringLiteral("char")},
                                                    {QStringLiteral("CEILING"), QStringLiteral("ceil")}};
    const auto it = renamed.constFind(k);
    if (it != renamed.constEnd()) {
      put(out, lead, it.value());
      *next = i;
      return true;
    }
    return false;
  }

  QString variable(int i, bool &tc) const {
    const QString &k = t_[i].key;
    if (k == QLatin1String("@@TRANCOUNT")) {
      tc = true;
      return QStringLiteral("$zv_trancount");
    }
    if (k == QLatin1String("@@IDENTITY"))
      return QStringLiteral("last_insert_rowid()");
    if (k == QLatin1String("@@ROWCOUNT"))
      return QStringLiteral("changes()");
    if (k == QLatin1String("@@ERROR"))
      return QStringLiteral("0");
    if (k == QLatin1String("@@SPID"))
      return QStringLiteral("1");
    if (k == QLatin1String("@@VERSION"))
      return QStringLiteral("('SQLite ' || sqlite_version())");
    throw CompileError{137, QStringLiteral("Must declare the scalar variable \"%1\".").arg(t_[i].text)};
  }

  // Owner or database prefix at i ("dbo.", "db.dbo.", "db.."): index of the
  // name it qualifies, or -1.
  int prefixEnd(int i) const {
    if (!isName(i) || !sym(i + 1, "."))
      return -1;
    if (t_[i].text.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0 && isName(i + 2))
      return i + 2;
    if (sym(i + 2, ".") && isName(i + 3))
      return i + 3;
    if (isName(i + 2) && t_[i + 2].text.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0 &&
        sym(i + 3, ".") && isName(i + 4))
      return i + 4;
    return -1;
  }

  // Translates the tokens [b, e). A TOP found at this level leaves its
  // LIMIT clause in sc.limit for the caller to place at the scope's end.
  QString tx(int b, int e, Scope &sc, bool &tc) {
    QString out;
    for (int i = b; i < e; ++i) {
      const Token &k = t_[i];
      switch (k.type) {
      case Token::Go:
        near(i);
      case Token::Name:
      case Token::Word: {
        const int p = prefixEnd(i);
        if (p >= 0) {
          if (!k.lead.isEmpty())
            out += k.lead;
          i = p - 1;
          continue;
        }
        if (k.type == Token::Name) {
          put(out, k.lead, quoteIdent(k.text));
          continue;
        }
        if (sc.raw) {
          put(out, k.lead, k.text);
          continue;
        }
        if (k.key == QLatin1String("WITH") && isHintGroup(i + 1)) {
          i = match_[i + 1];
          continue;
        }
        if (k.key == QLatin1String("OPTION") && sym(i + 1, "(")) {
          i = match_[i + 1];
          continue;
        }
        if (k.key == QLatin1String("TOP") && topOfSelect(i)) {
          int j = i + 1;
          QString n;
          if (sym(j, "(")) {
            Scope inner;
            n = QLatin1Char('(') + tx(j + 1, match_[j], inner, tc).trimmed() + QLatin1Char(')');
            j = match_[j] + 1;
          } else if (in(j) && t_[j].type == Token::Number) {
            n = t_[j].text;
            ++j;
          } else {
            near(j);
          }
          if (word(j, "PERCENT")) {
            bool ok = false;
            if (n.remove(QLatin1Char('(')).remove(QLatin1Char(')')).trimmed().toDouble(&ok) < 100 || !ok)
              unsupported(QStringLiteral("TOP ... PERCENT"));
            n.clear();
            ++j;
          }
          if (word(j, "WITH") && word(j + 1, "TIES"))
            j += 2;
          if (!n.isEmpty())
            sc.limit = QStringLiteral(" LIMIT ") + n;
          i = j - 1;
          continue;
        }
        if (k.key == QLatin1String("CURRENT_TIMESTAMP") && !sym(i + 1, "(")) {
          put(out, k.lead, kNow);
          continue;
        }
        if (sym(i + 1, "(")) {
          int next;
          if (function(i, out, tc, &next)) {
            i = next;
            continue;
          }
        }
        if (k.text.startsWith(QLatin1Char('#'))) {
          put(out, k.lead, quoteIdent(k.text));
          continue;
        }
        put(out, k.lead, k.text);
        continue;
      }
      case Token::String: {
        bool strip = false;
        if (!sc.raw) {
          strip = (isComparison(i - 1) && !isConcat(i + 1)) || (isComparison(i + 1) && !isConcat(i - 1)) ||
                  (sc.inList && (sym(i - 1, "(") || sym(i - 1, ",")) && (sym(i + 1, ",") || sym(i + 1, ")")));
        }
        put(out, k.lead, quoteString(strip ? rtrimBlanks(k.text) : k.text));
        continue;
      }
      case Token::Number:
        put(out, k.lead, k.text);
        continue;
      case Token::Variable:
        if (sc.raw) {
          put(out, k.lead, k.text);
          continue;
        }
        put(out, k.lead, variable(i, tc));
        continue;
      case Token::Symbol: {
        if (k.text == QLatin1String("(")) {
          const int j = match_[i];
          if (!sc.raw && isHintGroup(i) && isName(i - 1) && !word(i - 1, "IN")) {
            i = j;
            continue;
          }
          Scope inner;
          inner.raw = sc.raw;
          inner.inList = word(i - 1, "IN");
          const QString inside = tx(i + 1, j, inner, tc);
          put(out, k.lead, QStringLiteral("("));
          out += inside;
          out += inner.limit;
          put(out, t_[j].lead, QStringLiteral(")"));
          i = j;
          continue;
        }
        if (sc.raw) {
          put(out, k.lead, k.text);
          continue;
        }
        if (k.text == QLatin1String("+") && (isString(i - 1) || isString(i + 1))) {
          put(out, k.lead, QStringLiteral("||"));
          continue;
        }
        if (k.text == QLatin1String("!<")) {
          put(out, k.lead, QStringLiteral(">="));
          continue;
        }
        if (k.text == QLatin1String("!>")) {
          put(out, k.lead, QStringLiteral("<="));
          continue;
        }
        if (k.text == QLatin1String(";"))
          near(i);
        put(out, k.lead, k.text);
        continue;
      }
      }
    }
    return out;
  }
};

void flatten(const std::vector<Statement> &list, QStringList &out, int &depth) {
  for (const Statement &s : list) {
    switch (s.kind) {
    case Kind::BeginTran:
      if (depth++ == 0)
        out << QStringLiteral("BEGIN");
      break;
    case Kind::CommitTran:
      if (depth > 0 && --depth == 0)
        out << QStringLiteral("COMMIT");
      break;
    case Kind::RollbackTran:
      if (depth > 0)
        out << QStringLiteral("ROLLBACK");
      depth = 0;
      break;
    case Kind::If:
      out << s.sql[0].text;
      flatten({s.body[0]}, out, depth);
      break;
    case Kind::Block:
      flatten(s.body, out, depth);
      break;
    case Kind::Query:
    case Kind::Insert:
    case Kind::Update:
    case Kind::Delete:
    case Kind::Ddl:
    case Kind::DropTable:
    case Kind::Truncate:
    case Kind::AddColumns:
      for (const SqlPiece &p : s.sql)
        out << p.text;
      break;
    default:
      break;
    }
  }
}

} // namespace

std::vector<Batch> TsqlTraductor::analizar(const QString &text) const {
  QString error;
  int native = 0;
  const std::vector<Token> tokens = tokenize(text, &error, &native);
  std::vector<int> match(tokens.size(), -1);
  std::vector<char> assign(tokens.size(), 0);
  std::vector<Batch> out;
  int b = 0;
  const int n = int(tokens.size());
  while (b <= n) {
    int e = b;
    while (e < n && tokens[e].type != Token::Go)
      ++e;
    const bool last = e >= n;
    if (e > b || (last && !error.isEmpty())) {
      Batch batch = Parser(text, tokens, b, e, match, assign).run();
      if (last && !error.isEmpty()) {
        batch.statements.clear();
        batch.failed = true;
        batch.native = native;
        batch.message = error;
      }
      out.push_back(std::move(batch));
    }
    b = e + 1;
    if (last)
      break;
  }
  return out;
}

QStringList TsqlTraductor::sentenciasSqlite(const QString &text) const {
  QStringList out;
  int depth = 0;
  for (const Batch &b : analizar(text)) {
    if (b.failed)
      throw std::runtime_error(b.message.toStdString());
    flatten(b.statements, out, depth);
  }
  return out;
}

} // namespace zv::sqlite
