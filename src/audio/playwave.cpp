#include "audio/playwave.h"

#include "desktop/platform.h"

int PlayWave(int id)
{
    return platform().playWave(id);
}
