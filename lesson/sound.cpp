// sound
