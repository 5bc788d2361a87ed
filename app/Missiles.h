// Firing, hits, trails and explosions: the missile ring (16) and the particle ring (1024) of
// the scene state, reused oldest first. Particle velocities come from the random generator
// with u(r) = r * kRandomUnit - 0.5, a value in [-0.5, 0.5].
#pragma once

class MissileActor;

inline constexpr int kFireInterval = 20;        // frames between missiles while Space is held
inline constexpr int kExplosionParticles = 128; // particles of one burst
inline constexpr int kTrailParticles = 2;       // trail particles per flying missile per frame

// Space down and no cooldown: the next missile of the ring leaves from the player's transform
// toward a random enemy, enemy 3 starts chasing it, and the cooldown restarts at 20. Then the
// cooldown counts down by one.
void fireMissiles();
// Every flying missile: a hit on its target explodes it; then two trail particles at its
// position (the origin when it has just exploded).
void updateMissiles();
// 128 particles burst from the missile's position, the missile is reset and unlinked, and
// enemy 3 turns to chase enemy 0.
void explode(MissileActor& missile);
