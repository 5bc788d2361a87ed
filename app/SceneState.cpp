#include "app/SceneState.h"

SceneState scene;
