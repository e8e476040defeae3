#!/usr/bin/env bash
# Mutation sweep over the Qt-free core: applies small single changes to the
# sources of calendar/, texts/, reports/ and app/settings* one at a time,
# rebuilds the core's test programs in build-mutants/ (Qt off) and runs them,
# and reports every mutant that no test kills. Not part of the test command.
#
#   tests/mutants/run.sh                     250 mutants of the default folders
#   tests/mutants/run.sh -n 40 calendar      40 mutants of calendar/
#   tests/mutants/run.sh --list              the chosen mutants, without running
#   tests/mutants/run.sh --only ID,ID        those mutants only
#   tests/mutants/run.sh --help              every option
#
# The choice is repeatable (a seeded hash of each mutant; --seed changes it).
# Survivors listed in tests/mutants/equivalent.md count as equivalent; any
# other survivor makes the run exit with 1. The source is restored after each
# mutant, and on Ctrl+C or any other exit.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
restore() { python3 tests/mutants/mutants.py --restore-only; }
trap restore EXIT
trap 'exit 130' INT TERM
python3 tests/mutants/mutants.py "$@"
