#pragma once
// The maker's library: utilities, cipher, machine information, INI reader,
// file dialog, keyboard service, table editor and error report.
#include "platform/Ado.h"
#include "platform/AppError.h"
#include "platform/Sistema.h"
#include "platform/Ui.h"

#include <QString>
#include <QVariant>

class QWidget;

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
  // Reemplazar matches letter case exactly; ReemplazarTexto ignores it.
  static QString ReemplazarTexto(const QString &texto, const QString &viejo, const QString &nuevo);
  static QString ConBarra(const QString &carpeta); // ends in the platform's separator
  static QString Cifrar(const QString &texto);     // no comma, double quote or line break
  static QString Descifrar(const QString &texto);
  // The library's error report: shows the error with Abort, Retry and Ignore
  // and returns the answer (3, 4 or 5).
  int InformarError(const AppError &error, const QString &rutina);
  // Text and title of that report, so that callers and tests can know them.
  static QString TextoInformeError(const AppError &error, const QString &rutina);
  static QString TituloInformeError(const QString &rutina);
  // Window set-up: centres the window over its parent (or on its screen),
  // keeping its size; maximizar shows it maximised instead.
  static void PrepararVentana(QWidget *ventana, bool maximizar = false);

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
  // Gives the window the application's title and icon when it has none.
  static void PrepararFormulario(QWidget *ventana);

private:
  Sistema &sistema_;
  UiServices &ui_;
};

// Remembers the application folder for the library's later use.
class ReceptorRuta {
public:
  void Iniciar(const QString &carpetaAplicacion);
  const QString &Carpeta() const { return carpeta_; } // ends in "/" once started
  bool Iniciado() const { return !carpeta_.isEmpty(); }

private:
  QString carpeta_;
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
