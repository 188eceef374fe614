// Test support: an in-process engine that records what the game asks of it.
