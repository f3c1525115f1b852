#include "platform/sqlite/Restricciones.h"

#include "platform/sqlite/TsqlTraductor.h"

namespace zv::sqlite {

namespace {

bool isSym(const std::vector<Token> &t, int i, const char *s) {
  return i >= 0 && i < int(t.size()) && t[i].type == Token::Symbol && t[i].text == QLatin1String(s);
}
bool isWord(const std::vector<Token> &t, int i, const char *k) {
  return i >= 0 && i < int(t.size()) && t[i].type == Token::Word && t[i].key == QLatin1String(k);
}
bool isName(const std::vector<Token> &t, int i) {
  return i >= 0 && i < int(t.size()) && (t[i].type == Token::Word || t[i].type == Token::Name);
}

int closing(const std::vector<Token> &t, int open) {
  int depth = 0;
  for (int i = open; i < int(t.size()); ++i) {
    if (isSym(t, i, "("))
      ++depth;
    else if (isSym(t, i, ")") && --depth == 0)
      return i;
  }
  return int(t.size());
}

// Names inside "( a [ASC], b ... )" starting at the "(".
QStringList names(const std::vector<Token> &t, int open, int *after) {
  QStringList out;
  const int close = closing(t, open);
  for (int i = open + 1; i < close; ++i) {
    if (isName(t, i) && (isSym(t, i - 1, "(") || isSym(t, i - 1, ",")))
      out << t[i].text;
  }
  if (after)
    *after = close + 1;
  return out;
}

// Reads one constraint starting at its keyword; `column` is the column it
// belongs to for column-level constraints.
bool readConstraint(const QString &src, const std::vector<Token> &t, int i, int end, const QString &name,
                    const QString &column, Restriccion *r) {
  r->nombre = name;
  if (isWord(t, i, "PRIMARY") || isWord(t, i, "UNIQUE")) {
    r->tipo = isWord(t, i, "PRIMARY") ? Restriccion::PrimaryKey : Restriccion::Unique;
    int j = i + (r->tipo == Restriccion::PrimaryKey ? 2 : 1);
    if (r->tipo == Restriccion::Unique && j < int(t.size()) &&
        src.mid(t[i].end, t[j].pos - t[i].end).contains(QLatin1String("zv:pk")))
      r->tipo = Restriccion::PrimaryKey;
    if (isSym(t, j, "(") && j < end)
      r->columnas = names(t, j, nullptr);
    else
      r->columnas = QStringList{column};
    return !r->columnas.isEmpty() && !r->columnas.first().isEmpty();
  }
  if (isWord(t, i, "CHECK")) {
    r->tipo = Restriccion::Check;
    if (!column.isEmpty())
      r->columnas << column;
    return true;
  }
  if (isWord(t, i, "FOREIGN") || isWord(t, i, "REFERENCES")) {
    r->tipo = Restriccion::ForeignKey;
    int j = i;
    if (isWord(t, i, "FOREIGN")) {
      r->columnas = names(t, i + 2, &j);
    } else {
      r->columnas << column;
    }
    if (!isWord(t, j, "REFERENCES"))
      return false;
    ++j;
    while (isName(t, j) && isSym(t, j + 1, "."))
      j += 2;
    if (!isName(t, j))
      return false;
    r->tablaReferida = t[j].text;
    if (isSym(t, j + 1, "("))
      r->columnasReferidas = names(t, j + 1, nullptr);
    return true;
  }
  return false;
}

} // namespace

QVector<Restriccion> restriccionesDeTabla(const QString &createSql) {
  QVector<Restriccion> out;
  const std::vector<Token> t = TsqlTraductor::tokenize(createSql);
  int open = 0;
  while (open < int(t.size()) && !isSym(t, open, "("))
    ++open;
  if (open >= int(t.size()))
    return out;
  const int close = closing(t, open);
  // Items of the column list.
  int start = open + 1;
  int depth = 0;
  for (int i = open + 1; i <= close; ++i) {
    if (i < close && isSym(t, i, "(")) {
      ++depth;
      continue;
    }
    if (i < close && isSym(t, i, ")")) {
      --depth;
      continue;
    }
    if (i < close && (depth > 0 || !isSym(t, i, ",")))
      continue;
    const int end = i;
    const bool tableLevel = isWord(t, start, "CONSTRAINT") || isWord(t, start, "PRIMARY") ||
                            isWord(t, start, "UNIQUE") || isWord(t, start, "CHECK") ||
                            isWord(t, start, "FOREIGN");
    const QString column = tableLevel || !isName(t, start) ? QString() : t[start].text;
    QString pending;
    for (int j = tableLevel ? start : start + 1; j < end; ++j) {
      if (isSym(t, j, "(")) {
        // skip groups that do not start a constraint (type arguments, expressions)
        j = closing(t, j);
        continue;
      }
      if (isWord(t, j, "CONSTRAINT") && isName(t, j + 1)) {
        pending = t[j + 1].text;
        ++j;
        continue;
      }
      if (isWord(t, j, "PRIMARY") || isWord(t, j, "UNIQUE") || isWord(t, j, "CHECK") ||
          isWord(t, j, "FOREIGN") || isWord(t, j, "REFERENCES")) {
        Restriccion r;
        if (readConstraint(createSql, t, j, end, pending, column, &r))
          out.push_back(r);
        pending.clear();
        // The rest of a table-level constraint belongs to it.
        if (tableLevel)
          break;
        if (isWord(t, j, "FOREIGN") || isWord(t, j, "REFERENCES")) {
          // skip the referenced table and its columns
          while (j + 1 < end && !isWord(t, j + 1, "CONSTRAINT") && !isWord(t, j + 1, "CHECK") &&
                 !isWord(t, j + 1, "NOT") && !isWord(t, j + 1, "DEFAULT") && !isWord(t, j + 1, "COLLATE") &&
                 !isWord(t, j + 1, "UNIQUE") && !isWord(t, j + 1, "PRIMARY"))
            ++j;
        }
        continue;
      }
      if (!isWord(t, j, "CONSTRAINT"))
        pending.clear();
    }
    start = i + 1;
  }
  return out;
}

QStringList columnasDeIndice(const QString &createSql) {
  const std::vector<Token> t = TsqlTraductor::tokenize(createSql);
  for (int i = 0; i + 1 < int(t.size()); ++i)
    if (isWord(t, i, "ON")) {
      int j = i + 1;
      while (isName(t, j) && isSym(t, j + 1, "."))
        j += 2;
      if (isSym(t, j + 1, "("))
        return names(t, j + 1, nullptr);
    }
  return {};
}

} // namespace zv::sqlite
