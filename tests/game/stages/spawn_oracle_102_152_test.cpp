// Stages 102 to 152: every enemy each routine spawns, at every difficulty,
// against the stage contents typed here row by row.
#include "spawn_oracle_support.h"

namespace orb::test {
namespace {

// Slots several stages share, as the contents name them.
#define SLOT_105 "p4 s5 sp30 w20(D+2)/120 q1/20 i1 op40"
#define SLOT_108_9 "p2 s4 aim w20(D+1)/120 q10/20 i2 op10"
#define SLOT_108_8 "p32 s3 r3 rs10 w30(D+3)/240 q1/30 i1 op30"
#define SLOT_120_5 "p12 s6 sp60 r(D+6) rs0.05 w30(D+1)/150 q10/30 i2 op120"
#define SLOT_120_4 "p32 c3 s4 sp60 r2 rs12 aim w48(D+1)/240 q12/48 i4 op60"
#define SLOT_124_4 "p32 s3.5 sp60 r2 rs12 aim w48(D+1)/240 q12/48 i4 op60"
#define SLOT_125_4 "p34 s4.8 sp60 r2 rs12 aim w48(D+1)/240 q12/48 i4 op100"
#define SLOT_113 "p32 c2D+3 s4 sp50(D+1) r2 rs9 aim w30(D+1)/180 q15/30 i3 op60"
#define SLOT_106_11 "p2 c5 s4 sp150 aa0.6 at170 w8(D+1)/120 q1/4 i1 op60"
#define SLOT_133_44 "p1 c2D+8 s3 sp360 aa1.1 at110 w48/240 q12/48 i4 op60"

// clang-format off
const SpawnOracleRow kRows[] = {
    {102, "k39 n2 hp200 act"},
    {102, "k5 n2 hp280 t10300 : p4 s7 sp30 sa-0.05 at70 w20(D+2)/180 q1/20 i1 op70"},
    {102, "k4 n2 hp400 b31 t10200 d1-3 : p32 s4 r2 rs12 aim w48D/240 q8/24 i4 op60"},
    {105, "k23 n2 hp200 b34"},
    {105, "k23 hp200 b33"},
    {105, "k23 n3 hp200 b31 act"},
    {105, "k2 n6 hp70 b2"},
    {105, "k4 hp270 t11503 act : " SLOT_105},
    {106, "k25 n2 hp100 b33"},
    {106, "k18 hp70(D+4) t11300 d1-3 : p4 s7 sp60 sa-0.05 at110 w60/180 q1/20 i1 op20"},
    {106, "k3 hp380 b6"},
    {106, "k12 hp40D+340 b13 t11200 : p2 s3 sp120 sa0.21 at100 w8D+12/120 q1/4 i1 op30"},
    {106, "k11 hp40D+240 b14 t10800 : " SLOT_106_11},
    {106, "k4 hp100 b31 t11503 : p2 s3 w20/120 q1/20 i1 op60"},
    {106, "k4 hp100 b31 t11503 : p2 s3 w20/120 q1/20 i1 op80"},
    {106, "k4 hp100 b31 t11503 : p2 s3 w20/120 q1/20 i1 op100"},
    {107, "k4 hp200 b32 t10200 d0 : p2 s2.2V ang0.08 at40 w4/120 q1/2 i1"},
    {107, "k4 hp200 b32 t10200 d1-3 : p2 c3 s2.5 sp120 sa0.11 at50 w6/120 q1/2 i1"},
    {107, "k4 hp200 b32 t10200 d0 : p2 s3V ang0.08 at40 w8/120 q1/4 i1"},
    {107, "k4 hp200 b32 t10200 d1-3 : p2 c3 s3 sp120 sa0.12 at50 w12/120 q1/4 i1"},
    {108, "k9 hp300 b6 t10400 : " SLOT_108_9},
    {108, "k8 hp300 b6 t11500 : " SLOT_108_8},
    {108, "k10 hp300 b6 t10203 : p4 s2.5 sp120 aim w30(D+1)/180 q1/10 i1 op50"},
    {109, "k23 n3 hp200 b33"},
    {109, "k23 n4 hp200 b34"},
    {109, "k23 n4 hp200 b31 act"},
    {109, "k23 n3 hp200 b34 d1-3"},
    {109, "k23 n2 hp200 b31 act d1-3"},
    {109, "k23 hp200 b33 d1-3"},
    {109, "k27 hp200 b31 t11503 : p3 c(D+3) s2V sp120 ang90 dy0.03 at200 w60/120 q1/20 i1 op20"},
    {109, "k4 n3 hp270 t11503 act : " SLOT_105},
    {109, "k4 hp200 b32 t10200 d0 : p2 s3V ang0.08 at40 w8/120 q1/4 i1"},
    {109, "k4 hp200 b32 t10200 d1-3 : p2 c3 s3 sp120 sa0.12 at50 w12/120 q1/4 i1"},
    {109, "k4 hp300 t11503 d2-3 : p32 s5 r(D+1) rs8 aim w30/120 q10/30 i2 op50"},
    {110, "k25 n2 hp100 b33"},
    {110, "k25 n6 hp100 b33 d1-3"},
    {110, "k4 hp210 b31 t10800 act d2-3 : p2 c3 s4 sp90 w20(D+1)/120 q1/20 i1 op70"},
    {111, "k2 n2 hp70"},
    {111, "k1 n2 hp70 d1-3"},
    {111, "k23 n2 hp200 b31 act d1-3"},
    {112, "k4 hp270 b31 t10803 act d2-3 : p32 c3 s5 sp90 r1+E rs8 aim w30(F+1)/120 q10/30 i2 op50"},
    {112, "k27 hp200 b31 t11503 d1-3 : p3 c(D+3) s2V sp120 ang90 dy0.03 at200 w60/120 q1/20 i1 op20"},
    {112, "k23 n5 hp200 b33 d1-3"},
    {112, "k23 n5 hp200 b34 d1-3"},
    {113, "k13 hp450 t11501 : " SLOT_113},
    {116, "k11 hp40D+240 b14 t10800 : " SLOT_106_11},
    {116, "k12 hp40D+340 b13 t11200 : p2 c2D+5 s8V sp40D+90 sa-0.16 at40 w4(D+2)/120 q1/4 i1"},
    {117, "k22 hp200 t11600 : p3 s4-E sp60 ang90 dy0.07 at1000 w{18|18F+30}/240 q6/6 i6"},
    {117, "k20 hp200 t11602 : p2 c2 s4 sp40 dy0.02 at1000 op70 w{18|12F+30}/240 q6/6 i6"},
    {117, "k21 hp200 t11603 : p1 c4 s4 sp360 aa1.5 spin2 at50 op90 w{6|18}/240 q6/6 i6"},
    {118, "k4 hp200 b32 t10200 d0 : p2 s3V ang0.08 at40 w8/120 q1/4 i1"},
    {118, "k4 hp200 b32 t10200 d1-3 : p2 c3 s3 sp120 sa0.12 at50 w12/120 q1/4 i1"},
    {118, "k4 hp200 b32 t10200 d1-3 : p2 c3 s3 sp120 sa0.12 at50 w12/120 q1/4 i1"},
    {118, "k23 hp200 b31 act d1-3"},
    {118, "k23 hp200 b33 d1-3"},
    {118, "k23 hp200 b34"},
    {118, "k4 n2 hp270 t11503 act : " SLOT_105},
    {118, "k1 n4 hp100 b6"},
    {118, "k1 n2 hp100 b6 d1-3"},
    {119, "k35 hp{3900|4500}"},
    {120, "k5 hp250 b15 t10300 : " SLOT_120_5},
    {120, "k4 hp400 t10500 : " SLOT_120_4},
    {120, "k23 n2 hp200 b33"},
    {120, "k23 n2 hp200 b34"},
    {120, "k23 n2 hp200 b31 act"},
    {121, "k9 hp300 b6 t10400 : p2 s4 aim w20(D+1)/160 q10/20 i2"},
    {121, "k8 hp300 b3"},
    {121, "k10 hp300 b7"},
    {121, "k5 hp210 b4 t10203 : p12 c3 s3.5 sp60 r(D+2) rs0.1 w30(D+1)/150 q10/30 i2 op120"},
    {121, "k5 hp250 b15 t10300 : " SLOT_120_5},
    {121, "k18 hp<130,300,500,500> b3 t11300 : p2 s7 sp120 sa-0.05 at110 w60/120 q1/60 i1"},
    {121, "k23 n2 hp200 b31 act"},
    {122, "k41 hp1000 b51"},
    {122, "k23 n7 hp200 b31 act"},
    {123, "k38 hp1000 b51"},
    {124, "k4 hp250 b34 t10500 : " SLOT_124_4},
    {124, "k4 hp250 b34 t10300 : " SLOT_125_4},
    {124, "k2 n3 hp70 b2"},
    {124, "k44 hp400 b24 t10403 : p1 c2D+14 s3 sp360 aa1.1 at110 w48/240 q12/48 i4 op60"},
    {124, "k11 hp40D+170 b14 t10800 : p2 c3 s4 sp120 aa0.6 at170 w8(D+1)/120 q1/4 i1 op60"},
    {124, "k12 hp40D+270 b13 t11200 : p2 c2D+3 s8V sp40D+90 sa-0.16 at40 w4(D+2)/120 q1/4 i1"},
    {124, "k4 hp250 t10500 : " SLOT_120_4},
    {124, "k23 hp200 b33"},
    {124, "k23 n2 hp200 b31 act"},
    {125, "k41 n2 hp1000 b51"},
    {125, "k5 hp250 b15 t10300 : " SLOT_120_5},
    {125, "k13 hp450 t11501 : " SLOT_113},
    {125, "k1 n2 hp170 b1"},
    {125, "k1 n2 hp170 b2"},
    {125, "k1 n2 hp170 b3"},
    {125, "k4 hp250 b34 t10300 : " SLOT_125_4},
    {125, "k23 n2 hp200 b31 act"},
    {126, "k41 n2 hp1000 b51"},
    {126, "k1 n6 hp170 b0"},
    {126, "k18 hp70(D+4) t11300 act d1-3 : p4 s7 sp60 sa-0.05 at110 w60/180 q1/20 i1 op70"},
    {126, "k4 hp250 b34 t10500 : " SLOT_124_4},
    {127, "k4 hp350 t10500 : p32 c5 s4 sp120 r2 rs12 aim w48(D+1)/240 q12/48 i4 op60"},
    {128, "k41 n2 hp1000 b51"},
    {128, "k6 hp40D+500 t10800 : p34 s3.5 sp60 r3 rs8 aim w20(D+2)/200 q10/20 i5"},
    {128, "k1 n3 hp170 b3"},
    {128, "k4 hp250 b34 t10500 : " SLOT_124_4},
    {128, "k23 n3 hp200 b31 act"},
    {129, "k41 n2 hp1000 b51"},
    {129, "k5 n2 hp280 b15"},
    {129, "k23 n2 hp270 b31 act"},
    {129, "k24 hp500 b31 act"},
    {131, "k4 hp270 b31 t10803 act d2-3 : p32 c5 s4.5 sp120 r3 rs8 aim w48(D-1)/240 q12/24 i4 op60"},
    {132, "k22 hp200 t11600 d1-3 : p3 s4-E sp60 ang90 dy0.07 at1000 w18F+30/240 q6/6 i6 op90"},
    {132, "k20 hp200 t11602 d1-3 : p4 s4 sp90 dy0.02 at1000 w6F+18/240 q6/6 i6 op150"},
    {132, "k21 hp200 t11603 d1-3 : p1 c4 s4 sp360 aa1.5 spin2 at50 w18/240 q6/6 i6 op100"},
    {132, "k24 hp500 b31 act"},
    {133, "k12 hp40D+340 t11200 : p2 s3 sp120 sa0.21 at100 w4(D+3)/120 q1/4 i1 op30"},
    {133, "k11 hp240 t10800 : p2 c5 s4 sp150 aa0.6 at170 w4(D+2)/120 q1/4 i1 op60"},
    {133, "k24 hp500 b31 act"},
    {133, "k44 hp400 b23 t10403 : " SLOT_133_44},
    {134, "k4 hp250 b34 t10300 : " SLOT_125_4},
    {134, "k4 hp250 b34 t10500 : " SLOT_124_4},
    {134, "k4 n3 hp70 b34 d1-3"},
    {134, "k4 hp250 t10500 d2-3 : p32 s4 sp60 r2 rs6 aim w48D/240 q12/48 i4 op40"},
    {135, "k38 hp1000 b51"},
    {136, "k36 hp{4300|5000}"},
    {137, "k38 hp1000 b51"},
    {138, "k38 hp1000 b51"},
    {139, "k17 hp210 b10 t10300 : p2 c5 s6 sp170 sa-0.05 at70 w12/120 q1/4 i1 op30"},
    {139, "k13 hp250 t10401 : p32 c2D+1 s4 sp50(D+1) r2 rs9 aim w30(D+1)/180 q15/30 i3 op120"},
    {139, "k44 hp280 b23 t10403 : " SLOT_133_44},
    {139, "k14 hp20(D+14) b7 t11501 : p11 s(D+1) r<2,3,4,4> rs0.2 sa0.07 spin<36,18,15,12.857> at70 "
          "w<10,20,24,28>/120 q<10,20,24,28>/<10,20,24,28> i1 op250"},
    {140, "k18 hp30(D+9) b2 t11300 : p2 c2D+1 s7 sp70+35E sa-0.05 at110 w60/120 q1/60 i1"},
    {140, "k4 n5 hp200 b34 t10300 : " SLOT_124_4},
    {140, "k4 hp250 t10800 : " SLOT_120_4},
    {140, "k5 hp250 b15 t10300 : " SLOT_120_5},
    {141, "k9 hp280 b6 t10400 : " SLOT_108_9},
    {141, "k8 hp230 b6 t11500 : " SLOT_108_8},
    {141, "k10 hp200 b6 t10203 : p4 s2.5 sp120 aim w30(D+1)/180 q1/10 i1 op20"},
    {142, "k19 hp60(D+9) t10800 : p2 c2D+5 s5V sp360 w12/60 q40/40 i4 op150"},
    {144, "k4 hp350 b18 t10800 act : p32 c5 s4.5 sp120 r3 rs8 aim w<24,72,96,144>/240 q12/24 i4 op60"},
    {145, "k26 hp60D+630 t11500 : p12 c2D+7 s2V sp360 r4 rs0.2 sa0.07 at50 w4/90 q4/4 i4 op100"},
    {146, "k37 hp{4500|6000}"},
    {146, "k38 hp1111 b51 act"},
    {147, "k38 hp1000 b51"},
    {149, "k45 hp{4800|6000}"},
    {151, "k37 hp6000 b51"},
    {151, "k38 hp1111 b51 act"},
    {151, "k47 hp6000 b51"},
    {151, "k46 hp6000 b51"},
    {152, "k47 hp6000 b51"},
    {152, "k46 hp6000 b51"},
    {152, "k37 hp6000 b51"},
};
// clang-format on

TEST(SpawnOracle102, EveryEnemyOfEveryRoutineAtEveryDifficulty) {
  ExpectSpawnsFollowTheRows(kRows, sizeof kRows / sizeof kRows[0], 102, 152);
  ResetGameModules();
}


TEST(SpawnOracle102, ItemsByKindWithTheFlagsClearAndNoneWithThemSet) {
  ExpectItemsFollowTheRows({{104, {9}}, {110, {8}}, {115, {7}}, {129, {7}}, {132, {9}}, {150, {6, 2, 2, 2, 5}}}, 102, 152);
  ResetGameModules();
}


// Block kind, width, height, count and motion kind, as the contents list them.
TEST(SpawnOracle102, BlocksByKindSizeAndMotionKindAtEveryDifficulty) {
  // clang-format off
  ExpectBlocksFollowTheRows({
      {105, 1, 64, 32, 1, 0},   {107, 1, 64, 64, 1, 0},  {110, 1, 32, 32, 4, 0},  {111, 53, 64, 32, 2, 0},
      {112, 1, 32, 32, 4, 0},   {112, 53, 64, 32, 4, 0}, {115, 11, 64, 32, 1, 0}, {115, 10, 32, 32, 7, 0},
      {116, 1, 32, 32, 2, 0},   {123, 1, 32, 32, 2, 0},  {126, 1, 128, 32, 1, 0}, {127, 1, 128, 32, 1, 0},
      {128, 1, 128, 32, 1, 0},  {128, 1, 64, 32, 2, 0},  {128, 1, 32, 32, 3, 0},  {129, 1, 64, 32, 1, 0},
      {129, 1, 64, 32, 2, 1},   {129, 1, 32, 32, 3, 0},  {130, 1, 128, 32, 1, 0}, {131, 1, 128, 32, 2, 0},
      {132, 1, 64, 32, 8, 0},   {133, 1, 32, 32, 12, 0}, {133, 1, 64, 32, 2, 0},  {134, 11, 64, 32, 2, 0},
      {135, 1, 32, 32, 1, 0},   {140, 20, 64, 32, 3, 0}, {143, 20, 128, 32, 10, 0}, {150, 1, 64, 64, 1, 0}}, 102, 152);
  // clang-format on
  ResetGameModules();
}

}  // namespace
}  // namespace orb::test
