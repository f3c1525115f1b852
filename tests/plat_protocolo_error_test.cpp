#include "platform/ProtocoloError.h"

#include <gtest/gtest.h>

#include <vector>

using zv::AppError;
using zv::Trampa;

namespace {

// Runs three steps where step 2 fails a given number of times, answering each
// report from the queue.
struct Corrida {
  Corrida(std::vector<int> r, int fallas) : respuestas(std::move(r)), fallasDelPaso2(fallas) {}
  std::vector<int> respuestas;
  int fallasDelPaso2;
  std::vector<int> hechos;
  int reportes = 0;

  bool correr() {
    size_t i = 0;
    Trampa t([&](const AppError &e) {
      EXPECT_EQ(e.number(), 11);
      ++reportes;
      return i < respuestas.size() ? respuestas[i++] : 3;
    });
    t([&] { hechos.push_back(1); });
    t([&] {
      if (fallasDelPaso2-- > 0)
        throw AppError(11, "falla", "prueba");
      hechos.push_back(2);
    });
    t([&] { hechos.push_back(3); });
    return t.activa();
  }
};

} // namespace

TEST(Trampa, ReintentarRepiteElMismoPaso) {
  Corrida c({4, 4}, 2);
  EXPECT_TRUE(c.correr());
  EXPECT_EQ(c.hechos, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(c.reportes, 2);
}

TEST(Trampa, IgnorarSigueConElPasoSiguiente) {
  Corrida c({5}, 1);
  EXPECT_TRUE(c.correr());
  EXPECT_EQ(c.hechos, (std::vector<int>{1, 3}));
}

TEST(Trampa, CualquierOtraRespuestaSaleDeLaRutina) {
  for (int respuesta : {1, 2, 3, 6, 7, 0}) {
    Corrida c({respuesta}, 1);
    EXPECT_FALSE(c.correr()) << respuesta;
    EXPECT_EQ(c.hechos, (std::vector<int>{1})) << respuesta;
  }
}

TEST(Trampa, IgnorarFallaPasoAPaso) {
  int n = 0;
  EXPECT_FALSE(zv::ignorarFalla([&] { throw AppError(5, "x"); }));
  EXPECT_TRUE(zv::ignorarFalla([&] { ++n; }));
  EXPECT_EQ(n, 1);
}
