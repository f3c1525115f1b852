#pragma once
// The recode sheet: the grid of code pairs with its floating in-cell editor,
// as window logic without a display. The main window owns one and forwards
// its grid and editor events to it; a Qt view mirrors the state (cells,
// current cell, editor text, position and visibility) after each call.
//
// Focus changes are part of the model: giving the focus to the grid runs the
// grid's GotFocus (which writes a visible editor's text into the current
// cell), giving it to the editor runs the editor's GotFocus. A view forwards
// only the focus moves between controls of the window, never the window's
// own activation (a message box taking the focus is not the editor being
// left). Typed characters reach the editor through txtedit_KeyPress (which
// may change or refuse them) and then the model's text, so that MaxLength
// and the separator rule hold; a view applies the model's text to its
// widget rather than letting the widget edit on its own.
#include "platform/AppError.h"
#include "platform/Ui.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

namespace zv::app {

// The flexible grid: cells of text, a fixed header row, the current cell and
// the geometry the editor is laid over. Out-of-range rows and columns throw
// the grid's own errors (30009, 30010).
class Grilla {
public:
  static constexpr long ErrFilaInvalida = 30009;
  static constexpr long ErrColumnaInvalida = 30010;
  static constexpr long ErrUltimaFila = 30015; // the last non-fixed row cannot go

  QString Name = QStringLiteral("MSFlexGrid1");
  // Position and size in the units of the view (twips in the original
  // window); the editor is placed with them.
  int Left = 15, Top = 1695, Width = 7920, Height = 3600;
  int RowHeight = 240;

  Grilla(int filas = 2, int columnas = 4, int filasFijas = 1);

  int Rows() const { return int(celdas_.size()); }
  int Cols() const { return cols_; }
  int FixedRows() const { return fijas_; }
  void setRows(int filas);

  int Row() const { return fila_; }
  int Col() const { return col_; }
  // Plain moves; the sheet's moves also raise LeaveCell and EnterCell.
  void setRowSinEventos(int fila);
  void setColSinEventos(int col);

  int TopRow() const { return filaSuperior_; }
  void setTopRow(int fila); // kept within the scrollable rows
  int LeftCol() const { return 0; }

  QString TextMatrix(int fila, int col) const;
  void setTextMatrix(int fila, int col, const QString &texto);
  QString Text() const { return TextMatrix(fila_, col_); }
  void setText(const QString &texto) { setTextMatrix(fila_, col_, texto); }

  int ColWidth(int col) const;
  void setColWidth(int col, int ancho);

  // Position of the current cell inside the grid.
  int CellLeft() const;
  int CellTop() const;
  int CellWidth() const { return ColWidth(col_); }
  int CellHeight() const { return RowHeight; }

  void Clear();                                   // every cell's text, header included
  void AddItem(const QString &texto, int indice); // inserts an empty row (texto in column 0)
  void AddRow();                                  // one empty row at the end
  void RemoveItem(int indice);

private:
  void comprobarFila(int fila) const;
  void comprobarColumna(int col) const;
  QVector<QStringList> celdas_;
  QVector<int> anchos_;
  int cols_;
  int fijas_;
  int fila_ = 1;
  int col_ = 0;
  int filaSuperior_ = 1;
};

// The text box laid over the current cell while a cell is edited.
struct EditorCelda {
  QString Name = QStringLiteral("txtedit");
  bool Visible = false;
  QString Text;
  int SelStart = 0;
  QString DataField;
  QString Tag;
  int MaxLength = 0; // 0: no limit
  int Left = 1110, Top = 2085, Width = 855, Height = 285;
  long BackColor = 0xFFFFFF;
  long ForeColor = 0;
};

class HojaRecodificacion;

// Validation of the editor's text when the editor is left; returns true when
// the value is refused (HayError). It may show messages, write the
// description cell, empty the row and change ModoDestino.
class Validador {
public:
  virtual ~Validador() = default;
  virtual bool CampoValida(HojaRecodificacion &hoja, EditorCelda &editor) = 0;
};

class HojaRecodificacion {
public:
  // The error report of the window's handlers: error and routine name in,
  // answer code out.
  using Informe = std::function<int(const AppError &, const QString &rutina)>;
  // Rendered width of a text in the window's font.
  using AnchoTexto = std::function<int(const QString &)>;

  enum class Foco { Ninguno, Grilla, Editor, Otro };

  // Without a width function every character counts 120 (an 8-point font
  // in twips).
  HojaRecodificacion(UiServices &ui, Validador &validador, AnchoTexto ancho = {});
  // The services and ControlActivo point into this object.
  HojaRecodificacion(const HojaRecodificacion &) = delete;
  HojaRecodificacion &operator=(const HojaRecodificacion &) = delete;

  Grilla MSFlexGrid1;
  EditorCelda txtedit;

  // Window state shared with the validation and the import.
  bool HayError = false;
  int ModoDestino = 3;
  EditorCelda *ControlActivo = nullptr;
  // The login's editor colours (CFondo, CLetra).
  long gColorFondo = 0xFFFF00;
  long gColorLetra = 0;

  // Services, replaceable by tests and by the window: the keyboard service
  // and the library's error report (the kit's by default).
  std::function<bool(int keyCode)> EsTeclaDeSalida;
  std::function<QString()> SeparadorDecimal;
  Informe InformarError;

  UiServices &ui() { return ui_; }
  Validador &validador() { return validador_; }

  // Public methods of the window.
  void InicializaGrid2();
  void MsflexGridEdt(Grilla &grilla, EditorCelda &edt, int keyAscii);
  void textpropiedades(EditorCelda &texto, int columna);
  void EditKeyCode(Grilla &grilla, EditorCelda &edt, int keyCode, int shift);
  void MsflexKey(Grilla &grilla, int keyCode);
  // Empties the cells of a row from primeraColumna to the last column.
  static void LimpiaFila(Grilla &grilla, int fila, int primeraColumna);

  // Grid events.
  void MSFlexGrid1_KeyPress(int &keyAscii);
  void MSFlexGrid1_DblClick();
  void MSFlexGrid1_Click();
  void MSFlexGrid1_EnterCell();
  void MSFlexGrid1_LeaveCell();
  void MSFlexGrid1_GotFocus();
  void MSFlexGrid1_KeyDown(int &keyCode, int shift);

  // Editor events.
  void txtedit_GotFocus();
  void txtedit_KeyDown(int &keyCode, int shift);
  void txtedit_KeyPress(int &keyAscii);

  // Runs the validation on the editor and records HayError.
  bool validar();

  // Focus moves. Leaving the editor other than through an exit key validates
  // its text: an accepted text goes into the current cell, a refused one is
  // dropped and the cell keeps its value; either way the editor is hidden.
  Foco foco() const { return foco_; }
  void darFocoGrilla();
  void darFocoEditor();
  void darFocoOtro(); // another control of the window

  // Moves of the current cell that raise LeaveCell and EnterCell.
  void setRow(int fila);
  void setCol(int col);
  void moverA(int fila, int col);

  // What the operator does, for views and tests: a click on a cell, a
  // double click, a key on the grid (KeyDown, KeyPress when the key has a
  // character, then the grid's own arrow navigation), a key on the editor,
  // typing characters into the editor.
  void clicCelda(int fila, int col);
  void dobleClicCelda(int fila, int col);
  void teclaGrilla(int keyCode, int keyAscii = 0);
  void teclaEditor(int keyCode);
  void teclear(const QString &texto);

private:
  int informe(const AppError &e, const QString &rutina, bool saltarCinco);
  void volcarEditor(); // the editor's text into the current cell, then hidden
  void posicionarEditor(EditorCelda &edt, const Grilla &grilla);

  UiServices &ui_;
  Validador &validador_;
  AnchoTexto ancho_;
  Foco foco_ = Foco::Ninguno;
  bool porTeclaDeSalida_ = false; // inside EditKeyCode: the text was validated already
  bool validando_ = false;
  // The text an exit key had accepted, while the editor still shows it (an
  // exit key that does not move, such as Tab): leaving then needs no second
  // validation.
  std::optional<QString> aceptado_;
};

} // namespace zv::app
