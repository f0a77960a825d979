// The records of every actor of the play scene. All of them begin with the
// same head so that drawing and collision can treat any actor alike; the
// fields behind the head belong to the record kind. Later code adds the
// behaviour; the layouts are fixed here.
//
// A link from one record to another pool is that pool's index: the pools
// are fixed arrays that never move, so entry i of a link table is always
// record i. Only the two player links of each record are stored.
#pragma once

#include <cstdint>

namespace orb {

// Players: left, top, right and bottom edge as offsets from the centre,
// then the crouching top and bottom.
struct BodyBox {
  float left, top, right, bottom;
  float crouchTop, crouchBottom;
};

enum ActorState : uint8_t { kActorFree = 0, kActorActive = 1, kEnemyLeaving = 2, kEnemyWaiting = 255 };

struct ActorHead {
  float x, y;  // centre, world pixels
  int32_t spriteWidth, spriteHeight;
  float hitboxWidth, hitboxHeight;
  float hitboxOffsetX, hitboxOffsetY;
  BodyBox body;
  float vx, vy;
  float speed;
  int32_t frame;
  int32_t frameCount;
  int32_t framePeriod;
  const int* images;  // one graph handle per frame, owned by the asset table
  uint8_t state;
};

// A rectangle in world pixels; two overlap only where they share area
// (touching edges do not).
struct WorldBox {
  float left, top, right, bottom;
};
inline bool BoxesOverlap(const WorldBox& a, const WorldBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
// The rectangle of the given half extents around an actor's centre.
inline WorldBox CentredBox(const ActorHead& h, float halfWidth, float halfHeight) {
  return {h.x - halfWidth, h.y - halfHeight, h.x + halfWidth, h.y + halfHeight};
}

// What a shot carries for the pattern it releases at the end of its life.
struct ShotChildSpec {
  int32_t targetPlayer;
  int32_t childLifetime;
  float childSpeed;
  float baseAngle;
  float childSpeedAccel;
  float childDriftAccelX, childDriftAccelY;
  float childAngleAccel;
  int32_t patternKind;  // 0: no follow-up
  int32_t count;
  int32_t childTypeCode;
  float spread;
  float layers;
  float step;
};

struct ShotRecord {
  ActorHead head;
  int32_t age;
  int32_t lifetime;
  float driftAccelX, driftAccelY;
  float driftX, driftY;
  float speedAccel;
  float angleAccel;
  float angle;  // degrees, 0 = +x, 90 = +y
  int32_t damage;
  uint8_t damageClass;
  int32_t typeCode;  // 10000 to 11699
  ShotChildSpec child;
  int32_t playerLinks[2];
};

struct BlockRecord {
  ActorHead head;
  float verticalSpeed;
  uint8_t airborne;
  int32_t slot;
  uint8_t motionKind;  // kinds 50 and above do not collide
  uint8_t steppedOn;   // latch: set when something lands, stays set
  uint8_t carrying;    // 1 while a player stands on it
  int32_t triggerCounter;
  int32_t delay;
  float phase;
  float accelX, accelY;
  float maxSpeedX, maxSpeedY;
  float velocityX, velocityY;
  float amplitudeX, amplitudeY;
  float period;
  float phaseStep;
  int8_t tileDistance;  // horizontal key, written by the play loop
  int8_t tileRow;       // row key
  uint8_t waveCode;
  uint8_t pushWeight;
  uint8_t overlay;
  float roll;  // also the speed a conveyor carries its rider
  int32_t playerLinks[2];
  int32_t frameCounter;
};

struct ItemRecord {
  ActorHead head;
  float fallSpeed;
  uint8_t airborne;
  uint8_t riding;
  int32_t riddenBlock;
  float gravity;
  int32_t slot;
  int32_t kind;  // 0 to 9
};

struct EffectRecord {
  ActorHead head;
  int32_t slot;
  int32_t counter;
  float angle;
  float scale;
};

// The character's parameters, written by SetupPlayerCharacters.
struct MeleeSpan {
  float top, bottom;
};
struct PlayerParams {
  float walkSpeed;
  int32_t meleeTiming[4];
  float reachStanding, reachCrouching, reachAir, reachStrong;
  MeleeSpan spanStanding, spanCrouching, spanAir, spanStrong;
  int32_t meleeDamage, meleeDamageStrong;
  float damageFactors[4];  // by damage class
};

struct PlayerRecord {
  ActorHead head;
  PlayerParams params;
  float verticalSpeed;  // negative is up
  uint8_t inAir;
  uint8_t crouch;
  uint8_t riding;
  int32_t riddenBlock;
  int32_t facing;  // 0 left, 1 right
  float jumpSpeed;
  float gravity;
  int32_t playerIndex;
  uint8_t stageMoveBytes[3];  // per-stage movement bytes, cleared by stage begin
  int32_t stageMoveCounter;
  uint8_t jumpHeld;
  // melee attacks
  uint8_t attackPhase;
  uint8_t attackBuffered;
  uint8_t comboCount;
  int32_t attackTimer;
  uint8_t specialFinished;
  uint8_t specialFollow;
  uint8_t onIce;
  float iceMomentum;
  uint8_t slowFloor;
  float respawnX, respawnY;
  int32_t invulnerableTimer;
  uint8_t dropThrough;
  uint8_t holdPose;
  uint8_t stairsMode;  // 0 none, 1 rising to the left, 2 rising to the right
  uint8_t knockedOut;
  uint8_t warpFade;
  int32_t fadeCounter;
  int32_t knockoutTimer;
  uint8_t onSlowGround;
  uint8_t blockContact;
  float blockContactFloat;  // the float after the block-contact flag
  uint8_t blockContactByte; // the byte after the block-contact flag
  // shooting
  int32_t fireCounter;
  int32_t holdCounter;
  float shotAngles[5];
  float shotDriftAccelX;
  float spread;
  float muzzleX, muzzleY;
  float muzzle2X, muzzle2Y;
};

// The attack-slot values of an enemy are rows of five 32-bit words; the
// first word is the value, the others serve the boss behaviours.
struct SlotRowF {
  float value;
  int32_t spare[4];
};
struct SlotRowI {
  int32_t value;
  int32_t spare[4];
};

struct EnemyAttackSlot {
  SlotRowF speed;
  SlotRowF angle;  // stored as the given angle + 180
  SlotRowF speedAccel;
  SlotRowF driftAccelX, driftAccelY;
  SlotRowF angleAccel;
  SlotRowI lifetime;
  SlotRowI endFrame;
  SlotRowI startFrame;
  SlotRowI patternKind;
  SlotRowI count;
  SlotRowF spread;
  SlotRowF angleVelocity;
  SlotRowF angleVelocityAccel;
  SlotRowF rows;
  SlotRowF rowStep;
  SlotRowF mode;
  SlotRowI windowLength, windowCycle;
  SlotRowI burstLength, burstCycle;
  SlotRowI interval;
  SlotRowI shotCounter;
};

struct EnemyChildSlot {
  SlotRowI patternKind;
  SlotRowI count;
  SlotRowF spread;
  SlotRowF speed;
  SlotRowF angle;
  SlotRowF speedAccel;
  SlotRowF driftAccelX, driftAccelY;
  SlotRowF angleAccel;
  SlotRowI lifetime;
  SlotRowI typeCode;
  SlotRowF layers;
  SlotRowF step;
  SlotRowI window;         // kept in the slot, not copied into bullets
  SlotRowF familyValue3;   // the third family value: kept, not copied
};

// Motion values in their stored order.
struct EnemyMotion {
  float accelX, accelY;
  float maxSpeedX, maxSpeedY;
  float velocityX, velocityY;  // velocity x is also the walk speed turned at walls
  float waveAmplitudeX, waveAmplitudeY;
  float startPhase;
  float phaseStep;
  float phase;
};

struct EnemyRecord {
  ActorHead head;
  float fallSpeed;
  uint8_t airborne;
  uint8_t sideWall;
  int32_t ridingBlock;
  int32_t facing;  // 1 right, other values left
  int32_t slot;
  int32_t timer;
  uint8_t mapCollision;
  uint8_t mode;  // 50 beaten boss, 51 door, gap or scripted actor
  uint8_t waveCode;
  uint8_t pausePose;  // also the walk mode of the box mover: 1 turn at walls, 2 at ledges, 3 both
  int32_t hitPoints;
  EnemyMotion motion;
  int32_t playerLinks[2];
  int32_t attackCycle;
  int32_t attackPoseTimer;
  int32_t hitFlash;
  int32_t frozenTimer;
  int32_t fadeCounter;
  int32_t kind;  // 1 to 47
  int32_t targetPlayer;
  int32_t bulletType;
  int32_t touchDamage;
  float damageFactors[4];
  int32_t animationCounter;
  uint8_t poseFlag;
  int32_t animationId;
  EnemyAttackSlot slotA;
  EnemyChildSlot slotB;
  SlotRowF aimAngle;
  SlotRowF speedStep;
  SlotRowF muzzleX, muzzleY;
  float homingScratch[12];
};

}  // namespace orb
