#include "app/HojaRecodificacion.h"

#include "platform/Kit.h"
#include "platform/ProtocoloError.h"

#include <algorithm>

namespace zv::app {

// ------------------------------------------------------------------ Grilla

namespace {
QStringList filaVacia(int columnas) {
  QStringList f;
  f.resize(columnas);
  return f;
}
} // namespace

Grilla::Grilla(int filas, int columnas, int filasFijas)
    : anchos_(columnas, 1200), cols_(columnas), fijas_(filasFijas) {
  celdas_.resize(std::max(filas, filasFijas + 1));
  for (QStringList &f : celdas_)
    f = filaVacia(cols_);
  fila_ = fijas_;
  filaSuperior_ = fijas_;
}

void Grilla::comprobarFila(int fila) const {
  if (fila < 0 || fila >= Rows())
    throw AppError(ErrFilaInvalida, QStringLiteral("Invalid Row value"), Name);
}

void Grilla::comprobarColumna(int col) const {
  if (col < 0 || col >= cols_)
    throw AppError(ErrColumnaInvalida, QStringLiteral("Invalid Column value"), Name);
}

void Grilla::setRows(int filas) {
  if (filas <= fijas_)
    throw AppError(ErrFilaInvalida, QStringLiteral("Invalid Row value"), Name);
  const int antes = Rows();
  celdas_.resize(filas);
  for (int r = antes; r < filas; ++r)
    celdas_[r] = filaVacia(cols_);
  fila_ = std::min(fila_, filas - 1);
  setTopRow(filaSuperior_);
}

void Grilla::setRowSinEventos(int fila) {
  comprobarFila(fila);
  fila_ = fila;
}

void Grilla::setColSinEventos(int col) {
  comprobarColumna(col);
  col_ = col;
}

void Grilla::setTopRow(int fila) { filaSuperior_ = std::clamp(fila, fijas_, Rows() - 1); }

QString Grilla::TextMatrix(int fila, int col) const {
  comprobarFila(fila);
  comprobarColumna(col);
  return celdas_[fila][col];
}

void Grilla::setTextMatrix(int fila, int col, const QString &texto) {
  comprobarFila(fila);
  comprobarColumna(col);
  celdas_[fila][col] = texto;
}

int Grilla::ColWidth(int col) const {
  comprobarColumna(col);
  return anchos_[col];
}

void Grilla::setColWidth(int col, int ancho) {
  comprobarColumna(col);
  anchos_[col] = ancho;
}

int Grilla::CellLeft() const {
  int x = 0;
  for (int c = LeftCol(); c < col_; ++c)
    x += anchos_[c];
  return x;
}

int Grilla::CellTop() const {
  if (fila_ < fijas_)
    return fila_ * RowHeight;
  return (fijas_ + fila_ - filaSuperior_) * RowHeight;
}

void Grilla::Clear() {
  for (QStringList &f : celdas_)
    for (QString &c : f)
      c.clear();
}

void Grilla::AddItem(const QString &texto, int indice) {
  if (indice < fijas_ || indice > Rows())
    throw AppError(ErrFilaInvalida, QStringLiteral("Invalid Row value"), Name);
  QStringList fila = filaVacia(cols_);
  fila[0] = texto;
  celdas_.insert(indice, fila);
}

void Grilla::AddRow() { setRows(Rows() + 1); }

void Grilla::RemoveItem(int indice) {
  if (indice < fijas_ || indice >= Rows())
    throw AppError(ErrFilaInvalida, QStringLiteral("Invalid Row value"), Name);
  if (Rows() - fijas_ <= 1)
    throw AppError(ErrUltimaFila, QStringLiteral("Cannot remove last non-fixed row"), Name);
  celdas_.remove(indice);
  fila_ = std::min(fila_, Rows() - 1);
  setTopRow(filaSuperior_);
}

// ------------------------------------------------------- HojaRecodificacion

namespace {

// Sets the current flag for the duration of a call.
class Bandera {
public:
  explicit Bandera(bool &b) : b_(b), antes_(b) { b_ = true; }
  ~Bandera() { b_ = antes_; }

private:
  bool &b_;
  bool antes_;
};

} // namespace

HojaRecodificacion::HojaRecodificacion(UiServices &ui, Validador &validador, AnchoTexto ancho)
    : ui_(ui), validador_(validador), ancho_(std::move(ancho)) {
  if (!ancho_)
    ancho_ = [](const QString &t) { return int(t.size()) * 120; };
  EsTeclaDeSalida = &kit::AyudaTeclado::EsTeclaDeSalida;
  SeparadorDecimal = &kit::AyudaTeclado::SeparadorDecimal;
  InformarError = [this](const AppError &e, const QString &rutina) {
    return kit::Utilidades(&ui_).InformarError(e, rutina);
  };
}

int HojaRecodificacion::informe(const AppError &e, const QString &rutina, bool saltarCinco) {
  if (saltarCinco && e.number() == err::InvalidArgument)
    return vb::Ignore;
  return InformarError ? InformarError(e, rutina) : vb::Abort;
}

void HojaRecodificacion::InicializaGrid2() {
  Grilla &g = MSFlexGrid1;
  g.Clear();
  g.setRows(2);
  g.setColWidth(0, ancho_(QString(20, 'X')));
  g.setColWidth(1, ancho_(QString(30, 'X')));
  g.setColWidth(2, ancho_(QString(15, 'X')));
  g.setColWidth(3, ancho_(QString(4, 'X')));
  g.setTextMatrix(0, 0, QStringLiteral("Codigo"));
  g.setTextMatrix(0, 1, QStringLiteral("Descripcion"));
  g.setTextMatrix(0, 2, QStringLiteral("Codigo Nuevo"));
  g.setTextMatrix(0, 3, QStringLiteral("Sucursal"));
  ModoDestino = 3;
}

void HojaRecodificacion::posicionarEditor(EditorCelda &edt, const Grilla &grilla) {
  edt.Left = grilla.Left + grilla.CellLeft();
  edt.Top = grilla.Top + grilla.CellTop();
  edt.Width = grilla.CellWidth();
  edt.Height = grilla.CellHeight();
}

void HojaRecodificacion::MsflexGridEdt(Grilla &grilla, EditorCelda &edt, int keyAscii) {
  // The description is written by the validation only.
  if (grilla.Name.compare(QLatin1String("MsFlexGrid1"), Qt::CaseInsensitive) == 0 && grilla.Col() == 1)
    return;
  if (keyAscii >= 0 && keyAscii <= 32) {
    edt.Text = grilla.Text();
    edt.SelStart = std::min<int>(1000, int(edt.Text.size()));
  } else {
    edt.Text = QString(QChar(keyAscii));
    edt.SelStart = 1;
  }
  posicionarEditor(edt, grilla);
  if (&edt == &txtedit)
    aceptado_.reset();
  edt.Visible = true;
  textpropiedades(edt, grilla.Col());
  if (&edt == &txtedit)
    darFocoEditor();
}

void HojaRecodificacion::textpropiedades(EditorCelda &texto, int columna) {
  switch (columna) {
  case 0:
    texto.DataField = QStringLiteral("Codigo");
    texto.Tag = QStringLiteral("MA_CUENTAS");
    texto.MaxLength = 15;
    break;
  case 1:
    texto.DataField.clear();
    break;
  case 2:
    texto.DataField = QStringLiteral("CodigoNVO");
    texto.Tag = QStringLiteral("MA_CUENTAS");
    texto.MaxLength = 15;
    break;
  case 3:
    texto.DataField = QStringLiteral("SucursalNVA");
    texto.Tag.clear();
    texto.MaxLength = 0;
    break;
  default:
    break;
  }
}

void HojaRecodificacion::EditKeyCode(Grilla &grilla, EditorCelda &edt, int keyCode, int) {
  // The text was validated by the key that got here; the focus moves below
  // write it back as it is.
  Bandera salida(porTeclaDeSalida_);
  Trampa t([this](const AppError &e) { return informe(e, QStringLiteral("EditKeyCode"), true); });
  auto fila = [&](int f) {
    if (&grilla == &MSFlexGrid1)
      setRow(f);
    else
      grilla.setRowSinEventos(f);
  };
  auto columna = [&](int c) {
    if (&grilla == &MSFlexGrid1)
      setCol(c);
    else
      grilla.setColSinEventos(c);
  };

  switch (keyCode) {
  case vb::KeyReturn:
    t([&] { darFocoGrilla(); });
    t([&] { ui_.doEvents(); });
    t([&] {
      if (grilla.Col() == 2) {
        if (grilla.Row() < grilla.Rows() - 1) {
          fila(grilla.Row() + 1);
        } else {
          grilla.AddRow();
          fila(grilla.Rows() - 1);
        }
        columna(0);
      } else if (grilla.Col() == 0) {
        columna(2);
      }
    });
    break;
  case vb::KeyEscape:
    t([&] { edt.Visible = false; });
    t([&] { darFocoGrilla(); });
    break;
  case vb::KeyUp:
    t([&] { darFocoGrilla(); });
    t([&] { ui_.doEvents(); });
    t([&] {
      if (grilla.Row() > grilla.FixedRows())
        fila(grilla.Row() - 1);
    });
    break;
  case vb::KeyDown:
    t([&] { darFocoGrilla(); });
    t([&] { ui_.doEvents(); });
    t([&] {
      if (grilla.Row() < grilla.Rows() - 1) {
        fila(grilla.Row() + 1);
        columna(0);
      }
    });
    break;
  default:
    break;
  }
  // Keep the current cell in sight.
  t([&] {
    if (grilla.Height < grilla.CellTop() + grilla.CellHeight())
      grilla.setTopRow(grilla.TopRow() + 1);
  });
}

void HojaRecodificacion::MsflexKey(Grilla &grilla, int keyCode) {
  Trampa t([this](const AppError &e) { return informe(e, QStringLiteral("MSFlexGrid1_KeyDown"), false); });
  switch (keyCode) {
  case vb::KeyDelete:
    t([&] {
      if (grilla.Rows() > 2)
        grilla.RemoveItem(grilla.Row());
      else
        LimpiaFila(grilla, grilla.Row(), 0);
    });
    break;
  case vb::KeyEnd:
    t([&] { ui_.sendTab(); });
    break;
  case vb::KeyInsert:
    t([&] { grilla.AddItem(QString(), grilla.Row()); });
    break;
  default:
    break;
  }
}

void HojaRecodificacion::LimpiaFila(Grilla &grilla, int fila, int primeraColumna) {
  for (int c = primeraColumna; c < grilla.Cols(); ++c)
    grilla.setTextMatrix(fila, c, QString());
}

// ------------------------------------------------------------- grid events

void HojaRecodificacion::MSFlexGrid1_KeyPress(int &keyAscii) {
  MsflexGridEdt(MSFlexGrid1, txtedit, keyAscii);
}

void HojaRecodificacion::MSFlexGrid1_DblClick() { MsflexGridEdt(MSFlexGrid1, txtedit, 32); }

void HojaRecodificacion::MSFlexGrid1_Click() {
  ControlActivo = &txtedit;
  textpropiedades(txtedit, MSFlexGrid1.Col());
}

void HojaRecodificacion::MSFlexGrid1_EnterCell() {
  ControlActivo = &txtedit;
  if (!txtedit.Visible)
    txtedit.Text.clear();
  textpropiedades(txtedit, MSFlexGrid1.Col());
}

void HojaRecodificacion::MSFlexGrid1_LeaveCell() {
  if (txtedit.Visible)
    volcarEditor();
}

void HojaRecodificacion::MSFlexGrid1_GotFocus() {
  ControlActivo = &txtedit;
  textpropiedades(txtedit, MSFlexGrid1.Col());
  if (txtedit.Visible)
    volcarEditor();
}

void HojaRecodificacion::MSFlexGrid1_KeyDown(int &keyCode, int) {
  ControlActivo = &txtedit;
  textpropiedades(txtedit, MSFlexGrid1.Col());
  MsflexKey(MSFlexGrid1, keyCode);
}

// ----------------------------------------------------------- editor events

void HojaRecodificacion::txtedit_GotFocus() {
  ControlActivo = &txtedit;
  textpropiedades(txtedit, MSFlexGrid1.Col());
  txtedit.BackColor = gColorFondo;
  txtedit.ForeColor = gColorLetra;
}

void HojaRecodificacion::txtedit_KeyDown(int &keyCode, int) {
  if (!EsTeclaDeSalida || !EsTeclaDeSalida(keyCode))
    return;
  // A refused value keeps the editor open with its text.
  aceptado_.reset();
  if (validar())
    return;
  aceptado_ = txtedit.Text;
  EditKeyCode(MSFlexGrid1, txtedit, keyCode, 0);
}

void HojaRecodificacion::txtedit_KeyPress(int &keyAscii) {
  // Both code columns keep their level dots ("1.1.01.099"): turning them into
  // the decimal separator would make a new account code impossible to type.
  if (MSFlexGrid1.Col() <= 0 || MSFlexGrid1.Col() == 2)
    return;
  if (keyAscii != ',' && keyAscii != '.')
    return;
  const QString separador = SeparadorDecimal ? SeparadorDecimal() : QString();
  if (separador.isEmpty())
    return;
  keyAscii = separador.at(0).unicode();
  // At most one separator in the field.
  if (txtedit.Text.trimmed().contains(separador.at(0)))
    keyAscii = 0;
}

bool HojaRecodificacion::validar() {
  Bandera enCurso(validando_);
  HayError = validador_.CampoValida(*this, txtedit);
  return HayError;
}

// ------------------------------------------------------------------- focus

void HojaRecodificacion::volcarEditor() {
  if (!txtedit.Visible)
    return;
  if (!porTeclaDeSalida_) {
    // The editor is being left by a click or a focus change: its text must
    // pass the same validation as with an exit key before it reaches a cell.
    if (validando_)
      return;
    const bool yaAceptado = aceptado_ && *aceptado_ == txtedit.Text;
    if (!yaAceptado && validar()) {
      txtedit.Visible = false;
      aceptado_.reset();
      return;
    }
  }
  MSFlexGrid1.setText(txtedit.Text);
  txtedit.Visible = false;
  aceptado_.reset();
}

void HojaRecodificacion::darFocoGrilla() {
  if (foco_ == Foco::Grilla)
    return;
  foco_ = Foco::Grilla;
  MSFlexGrid1_GotFocus();
}

void HojaRecodificacion::darFocoEditor() {
  if (foco_ == Foco::Editor)
    return;
  foco_ = Foco::Editor;
  txtedit_GotFocus();
}

void HojaRecodificacion::darFocoOtro() {
  const bool desdeEditor = foco_ == Foco::Editor;
  foco_ = Foco::Otro;
  if (desdeEditor)
    volcarEditor();
}

void HojaRecodificacion::setRow(int fila) {
  if (fila == MSFlexGrid1.Row())
    return;
  MSFlexGrid1.TextMatrix(fila, MSFlexGrid1.Col()); // refuses a row out of range before any event
  MSFlexGrid1_LeaveCell();
  MSFlexGrid1.setRowSinEventos(fila);
  MSFlexGrid1_EnterCell();
}

void HojaRecodificacion::setCol(int col) {
  if (col == MSFlexGrid1.Col())
    return;
  MSFlexGrid1.TextMatrix(MSFlexGrid1.Row(), col);
  MSFlexGrid1_LeaveCell();
  MSFlexGrid1.setColSinEventos(col);
  MSFlexGrid1_EnterCell();
}

void HojaRecodificacion::moverA(int fila, int col) {
  setRow(fila);
  setCol(col);
}

// -------------------------------------------------------- operator actions

void HojaRecodificacion::clicCelda(int fila, int col) {
  darFocoGrilla();
  if (fila < MSFlexGrid1.FixedRows())
    return;
  moverA(fila, col);
  MSFlexGrid1_Click();
}

void HojaRecodificacion::dobleClicCelda(int fila, int col) {
  clicCelda(fila, col);
  MSFlexGrid1_DblClick();
}

void HojaRecodificacion::teclaGrilla(int keyCode, int keyAscii) {
  darFocoGrilla();
  int k = keyCode;
  MSFlexGrid1_KeyDown(k, 0);
  if (keyAscii) {
    int a = keyAscii;
    MSFlexGrid1_KeyPress(a);
    return;
  }
  if (foco_ != Foco::Grilla)
    return;
  // The grid's own arrow navigation.
  const Grilla &g = MSFlexGrid1;
  if (k == vb::KeyLeft && g.Col() > 0)
    setCol(g.Col() - 1);
  else if (k == vb::KeyRight && g.Col() < g.Cols() - 1)
    setCol(g.Col() + 1);
  else if (k == vb::KeyUp && g.Row() > g.FixedRows())
    setRow(g.Row() - 1);
  else if (k == vb::KeyDown && g.Row() < g.Rows() - 1)
    setRow(g.Row() + 1);
}

void HojaRecodificacion::teclaEditor(int keyCode) {
  int k = keyCode;
  txtedit_KeyDown(k, 0);
}

void HojaRecodificacion::teclear(const QString &texto) {
  for (QChar ch : texto) {
    int a = ch.unicode();
    if (foco_ != Foco::Editor || !txtedit.Visible) {
      // A character typed on the grid opens the editor with it.
      darFocoGrilla();
      MSFlexGrid1_KeyPress(a);
      continue;
    }
    txtedit_KeyPress(a);
    if (a == 0)
      continue;
    QString &t = txtedit.Text;
    const int pos = std::clamp(txtedit.SelStart, 0, int(t.size()));
    if (a == 8) {
      if (pos > 0) {
        t.remove(pos - 1, 1);
        txtedit.SelStart = pos - 1;
      }
      continue;
    }
    if (txtedit.MaxLength > 0 && t.size() >= txtedit.MaxLength)
      continue;
    t.insert(pos, QChar(a));
    txtedit.SelStart = pos + 1;
  }
}

} // namespace zv::app
