// The sheet on the real widgets, offscreen: typing a current code into the
// grid and confirming it with Enter.
#include "app/HojaQt.h"
#include "app_recod_ventana.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using namespace zv;

namespace {

using HojaQtEscritura = test::VentanaDemo;

TEST_F(HojaQtEscritura, UnCodigoYEnterTraenLaDescripcionYPasanAlCodigoNuevo) {
  frm->show();
  frm->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
  QTableWidget *grilla = frm->MSFlexGrid1;
  QLineEdit *editor = frm->txtedit;
  EXPECT_EQ(grilla->objectName(), "MSFlexGrid1");
  EXPECT_EQ(editor->objectName(), "txtedit");
  // Columns as wide as 20, 30, 15 and 4 capital X's in the window's font.
  const QFontMetrics fm(frm->font());
  const int letras[] = {20, 30, 15, 4};
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(grilla->columnWidth(c), fm.horizontalAdvance(QString(letras[c], 'X'))) << c;
  EXPECT_EQ(grilla->item(0, 2)->text(), "Codigo Nuevo");

  const QRect celda = grilla->visualRect(grilla->model()->index(1, 0));
  QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
  EXPECT_EQ(grilla->currentRow(), 1);
  EXPECT_EQ(grilla->currentColumn(), 0);
  EXPECT_FALSE(editor->isVisible());

  // The first character typed on the grid opens the editor over the cell.
  QTest::keyClicks(grilla, "1");
  ASSERT_TRUE(editor->isVisible());
  EXPECT_TRUE(editor->hasFocus());
  EXPECT_EQ(editor->geometry().topLeft(), grilla->viewport()->mapTo(frm.get(), celda.topLeft()));
  EXPECT_EQ(editor->width(), celda.width());
  QTest::keyClicks(editor, ".1.01.001");
  EXPECT_EQ(editor->text(), "1.1.01.001");
  EXPECT_EQ(editor->maxLength(), 15);

  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(grilla->item(1, 0)->text(), "1.1.01.001");
  EXPECT_EQ(grilla->item(1, 1)->text(), "Caja");
  EXPECT_EQ(grilla->currentRow(), 1);
  EXPECT_EQ(grilla->currentColumn(), 2);
  EXPECT_EQ(grilla->item(0, grilla->currentColumn())->text(), "Codigo Nuevo");
  EXPECT_TRUE(grilla->hasFocus());
  EXPECT_EQ(hoja().MSFlexGrid1.TextMatrix(1, 1), "Caja");

  // An unknown code keeps the editor open with its text, after the message.
  ui.expectMsg("El Codigo Informado no existe", vb::OKOnly + vb::Critical, "Aviso al operador", vb::OK);
  const QRect otra = grilla->visualRect(grilla->model()->index(1, 0));
  QTest::mouseDClick(grilla->viewport(), Qt::LeftButton, {}, otra.center());
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), "1.1.01.001");
  QTest::keyClicks(editor, "9");
  QTest::keyClick(editor, Qt::Key_Return);
  ui.verify();
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->text(), "1.1.01.0019");
  EXPECT_EQ(grilla->item(1, 0)->text(), "1.1.01.001");
  // Clicking another cell validates it again: refused, it is dropped and
  // the cell keeps its value.
  ui.expectMsg("El Codigo Informado no existe", vb::OKOnly + vb::Critical, "Aviso al operador", vb::OK);
  QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {},
                    grilla->visualRect(grilla->model()->index(1, 3)).center());
  ui.verify();
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(grilla->item(1, 0)->text(), "1.1.01.001");
  EXPECT_EQ(grilla->currentColumn(), 3);
}

} // namespace
