"""The bench's start-up verdict: what load does to single runs must not fail it."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench import startup_verdict  # noqa: E402


class StartupVerdict(unittest.TestCase):
    def test_quiet_machine(self):
        self.assertIs(startup_verdict([57, 58, 60], [51, 52, 53], 1.25)[0], True)

    def test_load_spikes_do_not_count(self):
        # Runs spread from 68 to 134 ms under load, as seen on a busy machine: the medians give
        # 1.57x, the fastest runs 1.11x.
        program = [134, 70, 120, 68, 110, 125, 72]
        bare = [62, 85, 80, 64, 61, 82, 70]
        self.assertIs(startup_verdict(program, bare, 1.25)[0], True)

    def test_over_budget_within_the_noise_is_open(self):
        verdict, noise = startup_verdict([70, 80], [54, 60, 66], 1.25)
        self.assertAlmostEqual(noise, 6 / 54)
        self.assertIsNone(verdict)

    def test_clearly_slower_fails(self):
        self.assertIs(startup_verdict([90, 91, 95], [50, 51, 52], 1.25)[0], False)


if __name__ == "__main__":
    unittest.main()
