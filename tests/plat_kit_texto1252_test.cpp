#include "platform/Texto1252.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace t1252 = zv::texto1252;

namespace {

QByteArray leerCrudo(const QString &ruta) {
  QFile f(ruta);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

void escribirCrudo(const QString &ruta, const QByteArray &datos) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(datos);
}

TEST(Texto1252, DecodesTheHighControlRange) {
  struct Caso {
    unsigned char byte;
    char16_t caracter;
  } casos[] = {{0x80, 0x20AC}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
               {0x8A, 0x0160}, {0x8C, 0x0152}, {0x8E, 0x017D}, {0x91, 0x2018}, {0x92, 0x2019},
               {0x93, 0x201C}, {0x94, 0x201D}, {0x96, 0x2013}, {0x97, 0x2014}, {0x99, 0x2122},
               {0x9C, 0x0153}, {0x9F, 0x0178}, {0x81, 0x0081}, {0x8D, 0x008D}, {0x9D, 0x009D},
               {0xA0, 0x00A0}, {0xD1, 0x00D1}, {0xF1, 0x00F1}, {0xFF, 0x00FF}, {0x41, 0x0041}};
  for (const auto &c : casos) {
    const QString s = t1252::decodificar(QByteArray(1, char(c.byte)));
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s.at(0).unicode(), c.caracter) << std::hex << int(c.byte);
  }
}

TEST(Texto1252, EveryByteRoundTrips) {
  QByteArray todos;
  for (int b = 0; b < 256; ++b)
    todos.append(char(b));
  EXPECT_EQ(t1252::codificar(t1252::decodificar(todos)), todos);
}

TEST(Texto1252, OutsideTheCodePageBecomesQuestionMark) {
  EXPECT_EQ(t1252::codificar(QString::fromUtf8("a€ñ")), QByteArray("a\x80\xF1"));
  EXPECT_EQ(t1252::codificar(QString::fromUtf8("Ωx")), QByteArray("?x"));
  // A character beyond the basic plane is one character, one "?".
  EXPECT_EQ(t1252::codificar(QString::fromUtf8("\xF0\x9F\x98\x80!")), QByteArray("?!"));
  // C1 controls that 1252 maps elsewhere are not in the code page.
  EXPECT_EQ(t1252::codificar(QString(QChar(0x0080))), QByteArray("?"));
}

TEST(Texto1252, SplitsAtEveryLineEnd) {
  struct Caso {
    const char *texto;
    QStringList lineas;
  } casos[] = {{"", {}},
               {"a", {"a"}},
               {"a\r\nb\r\n", {"a", "b"}},
               {"a\nb", {"a", "b"}},
               {"a\rb\r", {"a", "b"}},
               {"a\r\n\r\nb", {"a", "", "b"}},
               {"a\n\rb", {"a", "", "b"}},
               {"\r\n", {""}},
               {"x\r\ny\nz\rw", {"x", "y", "z", "w"}}};
  for (const auto &c : casos)
    EXPECT_EQ(t1252::dividirLineas(c.texto), c.lineas) << c.texto;
}

TEST(Texto1252, FileRoundTripWithEachLineEnd) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList lineas = {QString::fromUtf8("Código;Descripción"), QString::fromUtf8("€ “citas” – Œ ™"),
                              QString(), QStringLiteral("1.1.01,1.1.02")};
  for (const QString &fin : {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")}) {
    const QString ruta = dir.filePath("f.txt");
    t1252::escribirLineas(ruta, lineas, fin);
    const QByteArray crudo = leerCrudo(ruta);
    EXPECT_TRUE(crudo.startsWith(QByteArray("C\xF3"
                                            "digo;Descripci\xF3n") +
                                 fin.toLatin1()));
    EXPECT_TRUE(crudo.contains("\x80 \x93"
                               "citas\x94 \x96 \x8C \x99"));
    EXPECT_TRUE(crudo.endsWith(QByteArray("1.1.01,1.1.02") + fin.toLatin1()));
    EXPECT_EQ(t1252::leerLineas(ruta), lineas);
  }
}

TEST(Texto1252, AppendAndReaderByLines) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath("log.txt");
  t1252::escribirLineas(ruta, {"uno"});
  t1252::escribirLineas(ruta, {"dos", "tres"}, "\r\n", true);
  EXPECT_EQ(leerCrudo(ruta), QByteArray("uno\r\ndos\r\ntres\r\n"));

  t1252::Lector lector(ruta);
  QStringList leidas;
  while (!lector.fin())
    leidas << lector.leerLinea();
  EXPECT_EQ(leidas, QStringList({"uno", "dos", "tres"}));
  EXPECT_THROW(lector.leerLinea(), zv::AppError);

  t1252::Escritor e;
  e.abrir(ruta, false, "\n");
  e.escribir("a");
  e.escribirLinea(QString::fromUtf8("ñ"));
  e.cerrar();
  EXPECT_EQ(leerCrudo(ruta), QByteArray("a\xF1\n"));
}

TEST(Texto1252, MissingFileAndBadPathAreReported) {
  QTemporaryDir dir;
  try {
    t1252::leerLineas(dir.filePath("no-existe.txt"));
    FAIL() << "no error";
  } catch (const zv::AppError &e) {
    EXPECT_EQ(e.number(), t1252::ErrArchivoNoEncontrado);
  }
  try {
    t1252::escribirLineas(dir.filePath("falta/carpeta.txt"), {"x"});
    FAIL() << "no error";
  } catch (const zv::AppError &e) {
    EXPECT_EQ(e.number(), t1252::ErrAccesoArchivo);
  }
  t1252::Escritor cerrado;
  EXPECT_THROW(cerrado.escribir("x"), zv::AppError);
}

TEST(Texto1252, ReadsRawFileBytes) {
  QTemporaryDir dir;
  const QString ruta = dir.filePath("ansi.txt");
  escribirCrudo(ruta, QByteArray("Peque\xF1o\r\n\x80"
                                 "100\n"));
  EXPECT_EQ(t1252::leerLineas(ruta), QStringList({QString::fromUtf8("Pequeño"), QString::fromUtf8("€100")}));
}

} // namespace
