# Windows packaging (to come)
