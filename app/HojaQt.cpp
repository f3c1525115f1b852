#include "app/HojaQt.h"

#include "app/FrmDIZavadodare.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>

namespace zv::app {

namespace {

QColor colorVb(long c) {
  // VB colours are 0x00BBGGRR.
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The character a key gives, as the sheet's KeyPress sees it (0 for none).
int caracter(const QKeyEvent *tecla) {
  switch (tecla->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return vb::KeyReturn;
  case Qt::Key_Backspace:
    return 8;
  case Qt::Key_Escape:
    return vb::KeyEscape;
  default:
    break;
  }
  const QString t = tecla->text();
  if (t.size() == 1 && t.at(0).unicode() >= 32 && t.at(0).unicode() != 127)
    return t.at(0).unicode();
  return 0;
}

} // namespace

HojaRecodificacion::AnchoTexto HojaQt::AnchoSegunFuente(const QWidget *ventana) {
  return [ventana](const QString &texto) {
    return QFontMetrics(ventana->font()).horizontalAdvance(texto) * TwipsPorPixel;
  };
}

HojaQt::HojaQt(HojaRecodificacion &hoja, QTableWidget *grilla, QLineEdit *editor, QWidget *ventana)
    : QObject(ventana), hoja_(hoja), grilla_(grilla), editor_(editor), ventana_(ventana) {
  grilla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grilla_->setSelectionMode(QAbstractItemView::SingleSelection);
  grilla_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grilla_->horizontalHeader()->hide(); // row 0 is the grid's own header row
  grilla_->verticalHeader()->hide();
  grilla_->verticalHeader()->setDefaultSectionSize(hoja_.MSFlexGrid1.RowHeight / TwipsPorPixel);
  grilla_->installEventFilter(this);
  grilla_->viewport()->installEventFilter(this);
  editor_->installEventFilter(this);
  // Focus moving to any other control of the window leaves the editor.
  for (QWidget *w : ventana_->findChildren<QWidget *>())
    if (w != grilla_ && w != editor_ && w != grilla_->viewport())
      w->installEventFilter(this);
  editor_->hide();
  refrescar();
}

void HojaQt::refrescar() {
  const Grilla &g = hoja_.MSFlexGrid1;
  const EditorCelda &e = hoja_.txtedit;
  sincronizando_ = true;
  grilla_->setRowCount(g.Rows());
  grilla_->setColumnCount(g.Cols());
  for (int f = 0; f < g.Rows(); ++f)
    for (int c = 0; c < g.Cols(); ++c) {
      QTableWidgetItem *item = grilla_->item(f, c);
      if (!item) {
        item = new QTableWidgetItem;
        grilla_->setItem(f, c, item);
      }
      if (item->text() != g.TextMatrix(f, c))
        item->setText(g.TextMatrix(f, c));
      if (f < g.FixedRows()) {
        item->setBackground(grilla_->palette().button());
        item->setFlags(Qt::ItemIsEnabled);
      }
    }
  for (int c = 0; c < g.Cols(); ++c)
    grilla_->setColumnWidth(c, g.ColWidth(c) / TwipsPorPixel);
  if (grilla_->currentRow() != g.Row() || grilla_->currentColumn() != g.Col())
    grilla_->setCurrentCell(g.Row(), g.Col());
  if (QTableWidgetItem *item = grilla_->item(g.Row(), g.Col()))
    grilla_->scrollToItem(item);

  if (e.Visible) {
    QRect celda = grilla_->visualRect(grilla_->model()->index(g.Row(), g.Col()));
    celda.moveTopLeft(grilla_->viewport()->mapTo(ventana_, celda.topLeft()));
    editor_->setGeometry(celda);
    editor_->setMaxLength(e.MaxLength > 0 ? e.MaxLength : 32767);
    if (editor_->text() != e.Text)
      editor_->setText(e.Text);
    editor_->setCursorPosition(std::clamp(e.SelStart, 0, int(e.Text.size())));
    QPalette p = editor_->palette();
    p.setColor(QPalette::Base, colorVb(e.BackColor));
    p.setColor(QPalette::Text, colorVb(e.ForeColor));
    editor_->setPalette(p);
    editor_->show();
    editor_->raise();
  } else {
    editor_->hide();
  }
  // The sheet's focus, where the window has it.
  if (ventana_->isActiveWindow() || QApplication::activeWindow() == nullptr) {
    if (hoja_.foco() == HojaRecodificacion::Foco::Editor && e.Visible)
      editor_->setFocus(Qt::OtherFocusReason);
    else if (hoja_.foco() == HojaRecodificacion::Foco::Grilla)
      grilla_->setFocus(Qt::OtherFocusReason);
  }
  sincronizando_ = false;
}

int HojaQt::filaEn(const QPoint &punto, int *columna) const {
  const QModelIndex i = grilla_->indexAt(punto);
  *columna = i.isValid() ? i.column() : -1;
  return i.isValid() ? i.row() : -1;
}

bool HojaQt::teclaGrilla(QKeyEvent *tecla) {
  const int codigo = FrmDIZavadodare::CodigoTeclaVb(tecla->key());
  const int ascii = caracter(tecla);
  if (codigo == 0 && ascii == 0)
    return false;
  // Escape on the grid has no character for the sheet.
  hoja_.teclaGrilla(codigo, ascii == vb::KeyEscape ? 0 : ascii);
  refrescar();
  return true;
}

bool HojaQt::teclaEditor(QKeyEvent *tecla) {
  const int codigo = FrmDIZavadodare::CodigoTeclaVb(tecla->key());
  if (hoja_.EsTeclaDeSalida && hoja_.EsTeclaDeSalida(codigo)) {
    hoja_.teclaEditor(codigo);
    refrescar();
    return true;
  }
  switch (tecla->key()) {
  case Qt::Key_Left:
  case Qt::Key_Right:
  case Qt::Key_Home:
  case Qt::Key_End:
    // Caret moves stay the widget's; the sheet learns the new position.
    return false;
  default:
    break;
  }
  const int ascii = caracter(tecla);
  if (ascii == 0 || ascii == vb::KeyReturn || ascii == vb::KeyEscape)
    return true;
  hoja_.txtedit.SelStart = editor_->cursorPosition();
  hoja_.teclear(QString(QChar(ascii)));
  refrescar();
  return true;
}

void HojaQt::foco(QObject *objeto, QFocusEvent *evento) {
  if (sincronizando_)
    return;
  // The window being activated again (after a message box) is not a move
  // between the window's controls.
  if (evento->reason() == Qt::ActiveWindowFocusReason || evento->reason() == Qt::PopupFocusReason)
    return;
  if (objeto == grilla_)
    hoja_.darFocoGrilla();
  else if (objeto == editor_)
    hoja_.darFocoEditor();
  else
    hoja_.darFocoOtro();
  refrescar();
}

bool HojaQt::eventFilter(QObject *objeto, QEvent *evento) {
  switch (evento->type()) {
  case QEvent::KeyPress: {
    auto *tecla = static_cast<QKeyEvent *>(evento);
    if (objeto == grilla_)
      return teclaGrilla(tecla);
    if (objeto == editor_)
      return teclaEditor(tecla);
    break;
  }
  case QEvent::KeyRelease:
    if (objeto == editor_) {
      hoja_.txtedit.SelStart = editor_->cursorPosition();
      return false;
    }
    break;
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonDblClick:
    if (objeto == grilla_->viewport()) {
      auto *raton = static_cast<QMouseEvent *>(evento);
      int columna = -1;
      const int fila = filaEn(raton->position().toPoint(), &columna);
      if (fila >= 0) {
        if (evento->type() == QEvent::MouseButtonDblClick)
          hoja_.dobleClicCelda(fila, columna);
        else
          hoja_.clicCelda(fila, columna);
        refrescar();
      }
      return true;
    }
    break;
  case QEvent::FocusIn:
    if (objeto == grilla_ || objeto == editor_ || qobject_cast<QWidget *>(objeto))
      foco(objeto, static_cast<QFocusEvent *>(evento));
    break;
  default:
    break;
  }
  return QObject::eventFilter(objeto, evento);
}

} // namespace zv::app
