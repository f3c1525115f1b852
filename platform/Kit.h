#pragma once
// The maker's library: utilities, cipher, machine information, INI reader,
// file dialog, keyboard service, table editor and error report.
#include "platform/Ado.h"
#include "platform/AppError.h"
#include "platform/Sistema.h"
#include "platform/Ui.h"

#include <QString>
#include <QVariant>

namespace zv::kit {

class Utilidades {
public:
  explicit Utilidades(UiServices *ui = nullptr) : ui_(ui) {}
  static QString SinNulo(const QVariant &valor);                 // "" for NULL
  static QString Recortar(const QString &texto, int n);          // at most n characters
  static QString CodigoFijo(const QString &texto, int ancho = 4); // right-aligned code of that width
  static double ANumero(const QString &texto);                   // four-decimal fixed point, locale aware
  static long long AEntero(const QString &texto);
  static int ContarPalabras(const QString &texto);
  static QString QuitarCaracteres(const QString &texto, const QString &c1,
                                  const QString &c2 = {}, const QString &c3 = {});
  static QString Reemplazar(const QString &texto, const QString &viejo, const QString &nuevo);
  static QString ReemplazarTexto(const QString &texto, const QString &viejo, const QString &nuevo);
  static QString ConBarra(const QString &carpeta); // ends in the platform's separator
  static QString Cifrar(const QString &texto);     // no comma, double quote or line break
  static QString Descifrar(const QString &texto);
  // The library's error report: shows the error with Abort, Retry and Ignore
  // and returns the answer (3, 4 or 5).
  int InformarError(const AppError &error, const QString &rutina);

private:
  UiServices *ui_;
};

class InfoSistema {
public:
  InfoSistema(Sistema &sistema, UiServices &ui) : sistema_(sistema), ui_(ui) {}
  QString NombreEquipo() const;
  QString UsuarioSistema() const;
  QString CarpetaTemporal() const;
  bool AbrirDocumento(const QString &destino, int mostrar);

private:
  Sistema &sistema_;
  UiServices &ui_;
};

// Reads KX517tm.INI in the program folder.
class LectorIni {
public:
  explicit LectorIni(const QString &carpetaPrograma);
  QString LeerValor(const QString &archivo, const QString &seccion, const QString &clave,
                    const QString &porDefecto) const;

private:
  QString carpeta_;
};

// File dialog that keeps its settings between uses.
class DialogoArchivo {
public:
  explicit DialogoArchivo(UiServices &ui) : ui_(ui) {}
  QString Titulo;
  QString Filtro;
  QString ExtensionPorDefecto;
  bool Opcion = false;
  QString NombreArchivo;
  bool Cancelado = false;
  void MostrarAbrir();
  void MostrarGuardar();

private:
  UiServices &ui_;
};

class AyudaTeclado {
public:
  static bool EsTeclaDeSalida(int keyCode);
  static QString SeparadorDecimal();
};

} // namespace zv::kit
