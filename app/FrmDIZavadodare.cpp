#include "app/FrmDIZavadodare.h"

#include "app/CampoValida.h"
#include "app/HojaQt.h"
#include "app/ImportacionPares.h"
#include "platform/PlanillaTabla.h"

#include "lookup/Lib_ClsCons3.h"
#include "platform/Kit.h"
#include "platform/ProtocoloError.h"
#include "platform/Proveedores.h"
#include "platform/SistemaReal.h"
#include "platform/UiQt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace zv::app {

QRect aPixeles(int left, int top, int width, int height) {
  return QRect(left / TwipsPorPixel, top / TwipsPorPixel, width / TwipsPorPixel, height / TwipsPorPixel);
}

// ---------------------------------------------------------------- CartelDisplay

Dll_Display &CartelDisplay::instancia() {
  if (!display_)
    display_ = std::make_unique<Dll_Display>(fabrica_);
  return *display_;
}

void CartelDisplay::CartelInicio(const QString &Titulo, bool PermiteCancelar) {
  instancia().CartelInicio(Titulo, PermiteCancelar);
}

void CartelDisplay::CartelMostrar(bool &Cancelado, const std::optional<QVariant> &L1,
                                  const std::optional<QVariant> &l2, const std::optional<QVariant> &l3) {
  instancia().CartelMostrar(Cancelado, L1, l2, l3);
}

void CartelDisplay::CartelCerrar() { instancia().CartelCerrar(); }

// ---------------------------------------------------------------- SkinFramework

bool SkinFramework::LoadSkin(const QString &archivo, const QString &definicion) {
  ArchivoSkin = archivo;
  Definicion = definicion;
  return false; // no facility reads these skin files here
}

void SkinFramework::ApplyWindow(QWidget *) { Aplicado = false; }

// ---------------------------------------------------------------- the window

QString FrmDIZavadodare::TextoAdvertencia() {
  return QStringLiteral("Se recomienda no cambiar el codigo de una cuenta en bases de datos con muchos "
                        "movimientos,este proceso puede demorar varios minutos, incluso horas dependiendo de "
                        "la base.");
}

FrmDIZavadodare::FrmDIZavadodare(startup::ModuloGlobal &global, Validador *validador, QWidget *parent)
    : QWidget(parent), global_(global) {
  setObjectName(QStringLiteral("FrmDIZavadodare"));
  setWindowTitle(Titulo());
  resize(AnchoClienteTwips / TwipsPorPixel, AltoClienteTwips / TwipsPorPixel);

  UtilKit1 = new UtilKit(this, QStringLiteral("UtilKit1"));
  UtilKit1->setGeometry(aPixeles(-120, 0, 8055, 975));
  // The commands behind the buttons are not part of this window yet.
  for (const UtilKitModelo::Boton &b : UtilKit1->modelo().Botones())
    UtilKit1->setBotonHabilitado(b.clave, false);

  Label1 = new QLabel(TextoAdvertencia(), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  Label1->setGeometry(aPixeles(75, 1035, 7785, 585));

  MSFlexGrid1 = new QTableWidget(1, 4, this);
  MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
  MSFlexGrid1->horizontalHeader()->hide(); // row 0 is the grid's own fixed row
  MSFlexGrid1->verticalHeader()->hide();
  MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  MSFlexGrid1->setGeometry(aPixeles(15, 1695, 7920, 3600));

  txtedit = new QLineEdit(this);
  txtedit->setObjectName(QStringLiteral("txtedit"));
  txtedit->setGeometry(aPixeles(1110, 2085, 855, 285));
  txtedit->hide();

  CmdBuscar = new QPushButton(QStringLiteral("&Cargar Archivo"), this);
  CmdBuscar->setObjectName(QStringLiteral("CmdBuscar"));
  CmdBuscar->setGeometry(aPixeles(120, 5400, 1935, 255));

  LblMuestra = new QLabel(QStringLiteral("Label1"), this);
  LblMuestra->setObjectName(QStringLiteral("LblMuestra"));
  LblMuestra->setGeometry(aPixeles(2250, 5400, 5100, 315));

  TxtSQL = new QPlainTextEdit(QStringLiteral("sql\n"), this);
  TxtSQL->setObjectName(QStringLiteral("TxtSQL"));
  TxtSQL->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TxtSQL->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TxtSQL->setLineWrapMode(QPlainTextEdit::NoWrap);
  TxtSQL->setGeometry(aPixeles(120, 5760, 7815, 1455));

  ChkGeneraSentencia = new QCheckBox(QStringLiteral("Solamente generar sentencia SQL "), this);
  ChkGeneraSentencia->setObjectName(QStringLiteral("ChkGeneraSentencia"));
  ChkGeneraSentencia->setGeometry(aPixeles(120, 7200, 5175, 255));

  if (validador) {
    hoja_ =
        std::make_unique<HojaRecodificacion>(global_.entorno.ui, *validador, HojaQt::AnchoSegunFuente(this));
    // The sheet's view filters its widgets' events before the key preview
    // below, so that it is installed first.
    vistaHoja_ = new HojaQt(*hoja_, MSFlexGrid1, txtedit, this);
    proceso_ = std::make_unique<Lib_ClsRecodificacion>(*hoja_, global_.principal(), Dialogo());
    proceso_->CartelMostrar = [this](const QString &m) { CartelMostrar(m); };
    proceso_->MostrarSQL = [this](const QString &lote) { TxtSQL->setPlainText(lote); };
    proceso_->SoloGenerar = [this] { return ChkGeneraSentencia->isChecked(); };
    proceso_->cartel = global_.cartel;
    proceso_->InformarError = [this](const AppError &e, const QString &rutina) {
      return hoja_->InformarError ? hoja_->InformarError(e, rutina) : vb::Abort;
    };
    proceso_->InformeVerificaCampos = [this](const AppError &e, const QString &rutina) {
      return global_.AvisoError(e, std::nullopt, rutina);
    };
    proceso_->carpetaPrograma = global_.entorno.sistema.carpetaPrograma();
    proceso_->tituloVentana = Titulo();
    for (const UtilKitModelo::Boton &b : UtilKit1->modelo().Botones())
      UtilKit1->setBotonHabilitado(b.clave, true);
    // The account lookup is not part of this window yet.
    UtilKit1->setBotonVisible(QStringLiteral("CONSULTAR"), false);
    UtilKit1->modelo().AlPulsar = [this](QString &boton) { UtilKit1_click(boton); };
    connect(CmdBuscar, &QPushButton::clicked, this, [this] { CmdBuscar_Click(); });
    AbrirPlanilla = [this](const QString &tabla, const QString &cadena, const QString &titulo) {
      PlanillaTabla(global_.entorno.fabricaConexiones, global_.entorno.ui).Abrir(tabla, cadena, titulo);
    };
    Descargar = [this] { close(); };
  }

  // Key preview: every key pressed in any control reaches the window first.
  installEventFilter(this);
  for (QWidget *w : findChildren<QWidget *>())
    w->installEventFilter(this);
}

FrmDIZavadodare::~FrmDIZavadodare() = default;

void FrmDIZavadodare::Form_Load() {
  global_.IniciarAplicacion();

  const QString skin = kit::Utilidades::ConBarra(global_.entorno.sistema.carpetaPrograma()) +
                       QStringLiteral("Styles/Office2007.cjstyles");
  if (SkinFramework1.LoadSkin(skin, QStringLiteral("NormalBlue.ini")))
    SkinFramework1.ApplyWindow(this);
  SkinFramework1.Options = SkinFramework1.Options | 1;

  kit::Utilidades::PrepararVentana(this, false);
  global_.DecoraVentana(this);

  if (hoja_) {
    hoja_->gColorFondo = long(global_.gColorFondo);
    hoja_->gColorLetra = long(global_.gColorLetra);
    // The notice may have been given at start-up only.
    proceso_->cartel = global_.cartel;
    InicializaGrid2();
  }
}

kit::DialogoArchivo &FrmDIZavadodare::Dialogo() {
  if (!dialogo_)
    dialogo_ = std::make_unique<kit::DialogoArchivo>(global_.entorno.ui);
  return *dialogo_;
}

void FrmDIZavadodare::InicializaGrid2() {
  if (!hoja_)
    return;
  hoja_->InicializaGrid2();
  mostrarHoja();
}

void FrmDIZavadodare::CmdBuscar_Click() {
  if (!hoja_)
    return;
  app::CmdBuscar_Click(*hoja_, Dialogo());
  mostrarHoja();
}

void FrmDIZavadodare::UtilKit1_click(QString &Boton) {
  if (!hoja_)
    return;
  auto informe = [this](const AppError &e) {
    if (e.number() == err::InvalidArgument)
      return vb::Ignore;
    return hoja_->InformarError ? hoja_->InformarError(e, QStringLiteral("UtilKit1_click")) : vb::Abort;
  };
  Trampa t(informe);
  t([&] {
    // Cancelling an empty sheet closes the program.
    if (Boton.compare(QLatin1String("CANCELAR"), Qt::CaseInsensitive) == 0 &&
        hoja_->MSFlexGrid1.TextMatrix(1, 0).trimmed().isEmpty())
      Boton = QStringLiteral("CERRAR");
  });
  if (!t)
    return;
  const QString clave = Boton.toUpper();
  if (clave == QLatin1String("NUEVO")) {
    t([&] { InicializaGrid2(); });
  } else if (clave == QLatin1String("BORRAR")) {
  } else if (clave == QLatin1String("GRABAR")) {
    t([&] { proceso_->ProcesoPrincipal(); });
    // Whatever the run's end, the sheet starts again empty.
    Trampa despues(informe);
    despues([&] { InicializaGrid2(); });
  } else if (clave == QLatin1String("PLANILLA")) {
    t([&] {
      const QString cadena = global_.principal().gConnString;
      if (AbrirPlanilla)
        AbrirPlanilla(QStringLiteral("MA_CUENTAS"), cadena, QStringLiteral("Maestro de Cuentas"));
    });
  } else if (clave == QLatin1String("CONSULTAR")) {
    // The account lookup comes with the lookup windows.
  } else if (clave == QLatin1String("REPORTE")) {
  } else if (clave == QLatin1String("CERRAR")) {
    t([&] {
      if (Descargar)
        Descargar();
    });
  } else if (clave == QLatin1String("CANCELAR")) {
    int respuesta = vb::No;
    t([&] {
      respuesta = global_.entorno.ui.msgBox(QStringLiteral("¿Realmente desea abandonar la carga de datos?"),
                                            vb::YesNo + vb::Question + vb::DefaultButton2,
                                            QStringLiteral("Aviso al Operador"));
    });
    if (t && respuesta == vb::Yes)
      t([&] { InicializaGrid2(); });
  }
  if (vistaHoja_)
    vistaHoja_->refrescar();
}

void FrmDIZavadodare::Form_Unload(int &Cancel) {
  Cancel = 0;
  global_.FinAplicacion();
  global_.entorno.sistema.terminar(0);
}

void FrmDIZavadodare::Form_KeyDown(int &KeyCode, int Shift) {
  Q_UNUSED(Shift);
  UtilKit1->TeclaPulsada(KeyCode);
}

void FrmDIZavadodare::CartelMostrar(const QString &Mensaje) {
  LblMuestra->setText(Mensaje);
  LblMuestra->repaint();
}

void FrmDIZavadodare::mostrarHoja() {
  if (vistaHoja_)
    vistaHoja_->refrescar();
}

int FrmDIZavadodare::CodigoTeclaVb(int tecla) {
  if (tecla >= Qt::Key_F1 && tecla <= Qt::Key_F12)
    return vb::KeyF1 + (tecla - Qt::Key_F1);
  if (tecla >= Qt::Key_A && tecla <= Qt::Key_Z)
    return 'A' + (tecla - Qt::Key_A);
  if (tecla >= Qt::Key_0 && tecla <= Qt::Key_9)
    return '0' + (tecla - Qt::Key_0);
  switch (tecla) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return vb::KeyReturn;
  case Qt::Key_Escape:
    return vb::KeyEscape;
  case Qt::Key_Tab:
    return vb::KeyTab;
  case Qt::Key_Backspace:
    return 8;
  case Qt::Key_Space:
    return 32;
  case Qt::Key_PageUp:
    return 33;
  case Qt::Key_PageDown:
    return 34;
  case Qt::Key_End:
    return vb::KeyEnd;
  case Qt::Key_Home:
    return vb::KeyHome;
  case Qt::Key_Left:
    return vb::KeyLeft;
  case Qt::Key_Up:
    return vb::KeyUp;
  case Qt::Key_Right:
    return vb::KeyRight;
  case Qt::Key_Down:
    return vb::KeyDown;
  case Qt::Key_Insert:
    return vb::KeyInsert;
  case Qt::Key_Delete:
    return vb::KeyDelete;
  default:
    return 0;
  }
}

bool FrmDIZavadodare::eventFilter(QObject *objeto, QEvent *evento) {
  if (evento->type() == QEvent::KeyPress) {
    auto *tecla = static_cast<QKeyEvent *>(evento);
    int codigo = CodigoTeclaVb(tecla->key());
    if (codigo != 0) {
      int shift = 0;
      if (tecla->modifiers() & Qt::ShiftModifier)
        shift |= 1;
      if (tecla->modifiers() & Qt::ControlModifier)
        shift |= 2;
      if (tecla->modifiers() & Qt::AltModifier)
        shift |= 4;
      Form_KeyDown(codigo, shift);
      if (codigo == 0)
        return true; // the toolbar used the key up
    }
  }
  return QWidget::eventFilter(objeto, evento);
}

void FrmDIZavadodare::closeEvent(QCloseEvent *evento) {
  evento->accept();
  int cancelar = 0;
  Form_Unload(cancelar);
}

// ---------------------------------------------------------------- the program's run

int EjecutarPrograma(int argc, char **argv) {
  QApplication aplicacion(argc, argv);
  aplicacion.setApplicationDisplayName(FrmDIZavadodare::Titulo());
  SistemaReal sistema(argc, argv);
  UiQt ui;
  db::EntornoDB entorno(ui, sistema,
                        connectionFactory(providerConfigFromEnvironment(sistema.carpetaPrograma())));
  startup::ModuloGlobal global(entorno);
  entorno.reporteCentral = [&](const AppError &e, const QString &rutina) {
    return global.AvisoError(e, std::nullopt, rutina);
  };
  CartelDisplay cartel;
  global.cartel = &cartel;
  std::unique_ptr<lookup::Lib_ClsCons3> motor;
  global.motorConsultas = [&]() -> startup::MotorConsultas & {
    if (!motor)
      motor = std::make_unique<lookup::Lib_ClsCons3>([&](const QString &clave) { return global.Cfg(clave); });
    return *motor;
  };
  ValidacionCuentas validacion(global.principal(), ui);
  FrmDIZavadodare ventana(global, &validacion);
  ventana.Form_Load();
  ventana.show();
  return aplicacion.exec();
}

} // namespace zv::app
