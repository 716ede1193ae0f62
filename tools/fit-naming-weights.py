#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fits the weights of the word ranking and of the category classifier to the labelled corpus and
writes them into src/naming/NamingWeights.h.

usage: tools/fit-naming-weights.py [--build DIR] [--corpus DIR] [--cached FILE] [--folds K] [--check]
                                  [--show] [--nested]

Runs DIR/bench/bench_naming --features over the corpus (from a recognition cache written by
bench_naming --save when --cached is given, else recognising every image), then fits both models by
logistic regression with an L2 penalty. It prints the scores of the names fitted on all images and
K-fold cross-validated (each fold named by weights fitted on the other folds, the folds split by source
repository so that screenshots of one project never sit on both sides), scored as the corpus's
score.py scores. The penalties and how a name is cut are chosen by that cross-validation, which flatters
it a little; --nested chooses them again inside each fold for a figure nothing was tuned on. --check
fits and prints without writing the header.
"""
import argparse
import csv
import itertools
import json
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
HEADER = os.path.join(ROOT, "src", "naming", "NamingWeights.h")
CONTEXTS = os.path.join(ROOT, "bench", "naming", "contexts.tsv")
CATEGORIES = ["receipts", "code", "design", "chats", "web", "other"]
MIN_WORDS = 2
HIT_WEIGHT = 1.5
LINE_FEATURE = 10  # CategoryClassifier's "lines"

# The choices tried by cross-validation: penalty, weight of must words against good ones, and how
# the name is cut (score threshold, gap below the best word, most words).
PENALTIES = [1.0, 4.0, 16.0]
MUST_WEIGHTS = [1.0, 2.0, 4.0]
THRESHOLDS = [x / 4 for x in range(-8, 5)]
GAPS = [1.5, 2.0, 3.0, 100.0]
MAX_WORDS = [3, 4, 5]
CATEGORY_PENALTIES = [0.01, 0.03, 0.1, 0.3]


def read_labels(corpus):
    labels = {}
    with open(os.path.join(corpus, "labels-dev.tsv"), newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            must = {w.strip().lower() for w in row["keywords_must"].split("|") if w.strip()}
            good = {w.strip().lower() for w in row["keywords_good"].split("|") if w.strip()} | must
            labels[row["id"].strip()] = (row["category"].strip(), must, good)
    return labels


def read_repositories(corpus):
    with open(os.path.join(corpus, "MANIFEST.tsv"), newline="") as f:
        return {row["id"]: row["source_repo"] for row in csv.DictReader(f, delimiter="\t")}


def source_feature_names(path):
    """The names array of a C++ source file, in order."""
    with open(os.path.join(ROOT, "src", "naming", path)) as f:
        text = f.read()
    body = re.search(r"names\{(.*?)\};", text, re.S).group(1)
    return re.findall(r'"(\w+)"', body)


def header_table(text, name):
    match = re.search(name + r"\{\{?(.*?)\}\}?;", text, re.S)
    return match.group(1) if match else ""


def sync_header(build):
    """After features were added, removed or renamed, keeps the weights of the features that stay, gives
    the others none, and rebuilds the benchmark, so it can export the features to fit."""
    word_names = source_feature_names("WordRanking.cpp")
    category_names = source_feature_names("CategoryClassifier.cpp")
    with open(HEADER) as f:
        text = f.read()
    old_words = re.findall(r'"(\w+)"', header_table(text, "wordFeatureNames"))
    old_categories = re.findall(r'"(\w+)"', header_table(text, "categoryFeatureNames"))
    if old_words == word_names and old_categories == category_names:
        return
    old_weights = dict(zip(old_words, map(float, re.findall(r"(-?[\d.e-]+),\s*//", header_table(text, "word")))))
    rows = re.findall(r"\{([^{}]*)\}", header_table(text, "category"))
    old_rows = [dict(zip(old_categories, map(float, re.findall(r"-?[\d.e-]+", row)))) for row in rows]
    bias = float(re.search(r"wordBias = (-?[\d.e-]+);", text).group(1))
    cut = tuple(float(re.search(name + r" = (-?[\d.e-]+);", text).group(1))
                for name in ("wordThreshold", "wordGap", "maxWords"))
    category_bias = [float(x) for x in re.findall(r"-?[\d.e-]+", header_table(text, "categoryBias"))]
    write_header(word_names, category_names, ([old_weights.get(n, 0.0) for n in word_names], bias),
                 (cut[0], cut[1], int(cut[2])),
                 ([[row.get(n, 0.0) for n in category_names] for row in old_rows], category_bias),
                 ["not fitted since the features changed", "run tools/fit-naming-weights.py"])
    subprocess.run(["cmake", "--build", build, "--target", "bench_naming"], check=True, stdout=subprocess.DEVNULL)


def export_features(args, path):
    sync_header(args.build)
    bench = os.path.join(args.build, "bench", "bench_naming")
    command = [bench, "--no-plain", "--features", path]
    if args.cached:
        command += ["--cached", args.cached]
    if os.path.exists(CONTEXTS):
        command += ["--contexts", CONTEXTS]
    command.append(args.corpus)
    environment = dict(os.environ, OMP_THREAD_LIMIT="1")
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, env=environment)


def read_features(path):
    with open(path) as f:
        names = json.loads(f.readline())
        records = [json.loads(line) for line in f if line.strip()]
    return names, records


# Logistic regression, fitted by Newton's method on sparse rows: rows are lists of (index, value).
def fit_logistic(rows, targets, weights, dimension, penalty, iterations=12):
    beta = [0.0] * (dimension + 1)  # the last is the bias, not penalised
    for _ in range(iterations):
        gradient = [0.0] * (dimension + 1)
        hessian = [[0.0] * (dimension + 1) for _ in range(dimension + 1)]
        for row, y, w in zip(rows, targets, weights):
            z = beta[dimension] + sum(beta[i] * x for i, x in row)
            p = 1 / (1 + math.exp(-z)) if z > -30 else 0.0
            g = w * (p - y)
            h = w * max(p * (1 - p), 1e-9)
            full = row + [(dimension, 1.0)]
            for i, xi in full:
                gradient[i] += g * xi
                hi = hessian[i]
                hxi = h * xi
                for j, xj in full:
                    hi[j] += hxi * xj
        for i in range(dimension):
            gradient[i] += penalty * beta[i]
            hessian[i][i] += penalty
        step = solve(hessian, gradient)
        beta = [b - s for b, s in zip(beta, step)]
        if max(abs(s) for s in step) < 1e-7:
            break
    return beta[:dimension], beta[dimension]


def solve(matrix, vector):
    n = len(vector)
    a = [row[:] + [v] for row, v in zip(matrix, vector)]
    for column in range(n):
        pivot = max(range(column, n), key=lambda r: abs(a[r][column]))
        a[column], a[pivot] = a[pivot], a[column]
        if abs(a[column][column]) < 1e-12:
            continue
        for r in range(n):
            if r != column and a[r][column] != 0:
                factor = a[r][column] / a[column][column]
                for c in range(column, n + 1):
                    a[r][c] -= factor * a[column][c]
    return [a[i][n] / a[i][i] if abs(a[i][i]) >= 1e-12 else 0.0 for i in range(n)]


# Softmax regression for the category, by gradient descent with momentum and a step that adapts.
def fit_softmax(samples, classes, dimension, penalty, iterations=400):
    weights = [[0.0] * dimension for _ in range(classes)]
    bias = [0.0] * classes
    velocity_w = [[0.0] * dimension for _ in range(classes)]
    velocity_b = [0.0] * classes
    rate, momentum = 0.5, 0.9
    previous = None
    for _ in range(iterations):
        loss, gw, gb = softmax_loss(samples, weights, bias, penalty)
        if previous is not None and loss > previous:
            rate *= 0.5
            velocity_w = [[0.0] * dimension for _ in range(classes)]
            velocity_b = [0.0] * classes
        previous = loss
        for c in range(classes):
            velocity_b[c] = momentum * velocity_b[c] - rate * gb[c]
            bias[c] += velocity_b[c]
            for i in range(dimension):
                velocity_w[c][i] = momentum * velocity_w[c][i] - rate * gw[c][i]
                weights[c][i] += velocity_w[c][i]
    return weights, bias


def softmax_loss(samples, weights, bias, penalty):
    classes, dimension = len(weights), len(weights[0])
    gw = [[penalty * w for w in row] for row in weights]
    gb = [0.0] * classes
    loss = 0.5 * penalty * sum(w * w for row in weights for w in row)
    n = len(samples)
    for x, y in samples:
        scores = [bias[c] + sum(wi * xi for wi, xi in zip(weights[c], x)) for c in range(classes)]
        top = max(scores)
        exps = [math.exp(s - top) for s in scores]
        total = sum(exps)
        loss -= (scores[y] - top - math.log(total)) / n
        for c in range(classes):
            d = (exps[c] / total - (1 if c == y else 0)) / n
            gb[c] += d
            for i in range(dimension):
                gw[c][i] += d * x[i]
    return loss, gw, gb


def classify(model, x):
    # As CategoryClassifier::classify: a screen with no evidence but its line count is Other.
    if not any(v for i, v in enumerate(x) if i != LINE_FEATURE):
        return CATEGORIES.index("other")
    weights, bias = model
    best, best_score = len(weights) - 1, -math.inf
    for c in range(len(weights)):
        score = bias[c]
        for wi, xi in zip(weights[c], x):
            score += wi * xi
        if score > best_score:
            best, best_score = c, score
    return best


class Screenshot:
    """One record of the export with what the fitting needs of it."""

    def __init__(self, record, label, category_index):
        self.id = record["id"]
        self.context = record["context"]
        self.category_features = record["category"]
        self.category = CATEGORIES.index(label[0])
        self.must, self.good = label[1], label[2]
        self.words = [c[0] for c in record["candidates"]]
        self.features = [c[1] for c in record["candidates"]]
        self.same = [set(c[2]) for c in record["candidates"]]
        self.masks = [c[3] for c in record["candidates"]]
        self.category_index = category_index

    def rows(self, predicted):
        rows = []
        for features, mask in zip(self.features, self.masks):
            features = list(features)
            features[self.category_index] = 1.0 if mask >> predicted & 1 else 0.0
            rows.append([(i, x) for i, x in enumerate(features) if x != 0])
        return rows


def scores_of(rows, model):
    weights, bias = model
    result = []
    for row in rows:
        s = bias
        dense = dict(row)
        for i, w in enumerate(weights):
            s += dense.get(i, 0.0) * w
        result.append(s)
    return result


def chosen(screenshot, scores, cut):
    threshold, gap, max_words = cut
    order = sorted(range(len(scores)), key=lambda i: -scores[i])
    taken = []
    for i in order:
        if len(taken) == max_words:
            break
        if len(taken) >= MIN_WORDS and (scores[i] < threshold or scores[i] < scores[order[0]] - gap):
            break
        if not any(j in screenshot.same[i] for j in taken):
            taken.append(i)
    return [screenshot.words[i] for i in taken]


def name_score(words, screenshot):
    """score.py's must hit and precision of the slug SlugGenerator::slug makes of the words."""
    if not words:
        words = ["screen", "capture"]
    elif len(words) == 1:
        words = [words[0], "screenshot"]
    counted = [w for w in words if w != "screenshot"]
    hit = 1.0 if set(words) & screenshot.must else 0.0
    precision = sum(w in screenshot.good for w in counted) / max(1, len(counted))
    return hit, precision


class Table:
    def __init__(self):
        self.hits = self.precision = self.category = 0.0
        self.n = 0

    def add(self, hit, precision, category):
        self.hits += hit
        self.precision += precision
        self.category += category
        self.n += 1

    def text(self):
        n = max(1, self.n)
        return f"hits {self.hits / n:.2f}  precision {self.precision / n:.2f}  category {self.category / n:.2f}"

    def objective(self):
        # A must word is what finds the file again: it counts half as much again as precision.
        return (HIT_WEIGHT * self.hits + self.precision) / max(1, self.n)


CATEGORY_MODELS = {}


def fit_category(screenshots, penalty):
    key = (tuple(sorted((s.id, s.context) for s in screenshots)), penalty)
    if key not in CATEGORY_MODELS:
        samples = [(s.category_features, s.category) for s in screenshots]
        CATEGORY_MODELS[key] = fit_softmax(samples, len(CATEGORIES), len(samples[0][0]), penalty)
    return CATEGORY_MODELS[key]


def fit_words(screenshots, category_model, penalty, must_weight, dimension):
    rows, targets, weights = [], [], []
    for s in screenshots:
        predicted = classify(category_model, s.category_features)
        for word, row in zip(s.words, s.rows(predicted)):
            rows.append(row)
            targets.append(1.0 if word in s.good else 0.0)
            weights.append(must_weight if word in s.must else 1.0)
    return fit_logistic(rows, targets, weights, dimension, penalty)


def folds_of(screenshots, repositories, k):
    groups = sorted({repositories.get(s.id, s.id) for s in screenshots})
    random.Random(20240607).shuffle(groups)
    fold_of = {group: i % k for i, group in enumerate(groups)}
    return [fold_of[repositories.get(s.id, s.id)] for s in screenshots]


def evaluate(test, category_model, word_model, cut, table, show=False):
    for s in test:
        predicted = classify(category_model, s.category_features)
        words = chosen(s, scores_of(s.rows(predicted), word_model), cut)
        hit, precision = name_score(words, s)
        table.add(hit, precision, 1.0 if predicted == s.category else 0.0)
        if show:
            marked = " ".join(w.upper() if w in s.must else w if w in s.good else "~" + w for w in words)
            wrong = "" if predicted == s.category else f"{CATEGORIES[predicted]} for {CATEGORIES[s.category]}"
            print(f"{s.id}{'+title' if s.context else ''}\t{'HIT ' if hit else 'miss'}\t{marked:50s}\t{wrong}")


def cross_validated(screenshots, folds, k, choice, dimension, cache):
    """Per fold: models fitted on the other folds; the names of the fold's screenshots."""
    penalty, must_weight, category_penalty = choice[:3]
    result = []
    for fold in range(k):
        key = (fold, penalty, must_weight, category_penalty)
        if key not in cache:
            train = [s for s, f in zip(screenshots, folds) if f != fold]
            category_model = fit_category(train, category_penalty)
            cache[key] = (category_model, fit_words(train, category_model, penalty, must_weight, dimension))
        result.append(cache[key])
    return result


def cv_table(screenshots, folds, models, cut, only_context=None, show=False):
    table = Table()
    for fold, (category_model, word_model) in enumerate(models):
        test = [s for s, f in zip(screenshots, folds)
                if f == fold and (only_context is None or s.context == only_context)]
        evaluate(test, category_model, word_model, cut, table, show)
    return table


def choose_category_penalty(screenshots, folds, k):
    """The penalty whose cross-validated category accuracy is best."""
    best = None
    for penalty in CATEGORY_PENALTIES:
        right = 0
        for fold in range(k):
            model = fit_category([s for s, f in zip(screenshots, folds) if f != fold], penalty)
            right += sum(classify(model, s.category_features) == s.category
                         for s, f in zip(screenshots, folds) if f == fold and not s.context)
        if best is None or right > best[0]:
            best = (right, penalty)
    return best[1]


def choose(screenshots, folds, k, dimension):
    """The penalties and the cut whose cross-validated names score best, with the models fitted."""
    category_penalty = choose_category_penalty(screenshots, folds, k)
    cache, best = {}, None
    for penalty, must_weight in itertools.product(PENALTIES, MUST_WEIGHTS):
        choice = (penalty, must_weight, category_penalty)
        models = cross_validated(screenshots, folds, k, choice, dimension, cache)
        for cut in itertools.product(THRESHOLDS, GAPS, MAX_WORDS):
            table = cv_table(screenshots, folds, models, cut, False)
            if best is None or table.objective() > best[0]:
                best = (table.objective(), choice, cut)
    return best[1], best[2], cache


def nested(screenshots, folds, k, dimension):
    """Each fold named by weights whose penalties and cut were chosen on the other folds alone."""
    table = Table()
    for fold in range(k):
        train = [s for s, f in zip(screenshots, folds) if f != fold]
        inner = [f if f < fold else f - 1 for f in folds if f != fold]
        (penalty, must_weight, category_penalty), cut, _ = choose(train, inner, k - 1, dimension)
        category_model = fit_category(train, category_penalty)
        word_model = fit_words(train, category_model, penalty, must_weight, dimension)
        test = [s for s, f in zip(screenshots, folds) if f == fold and not s.context]
        evaluate(test, category_model, word_model, cut, table)
    return table


def format_number(x):
    return repr(float(x))


def write_header(names, category_names, word_model, cut, category_model, summary):
    weights, bias = word_model
    threshold, gap, max_words = cut
    lines = [
        "// SPDX-License-Identifier: GPL-3.0-or-later",
        "// Generated by tools/fit-naming-weights.py from the labelled corpus; do not edit by hand.",
        "// " + summary[0],
        "// " + summary[1],
        "#pragma once",
        "",
        "#include <array>",
        "",
        "namespace NamingWeights {",
        "",
        "// The word ranking: score = wordBias + the sum of weight times feature (WordRanking::Feature).",
        f"inline constexpr std::array<const char *, {len(names)}> wordFeatureNames{{",
    ]
    lines += [f'    "{name}",' for name in names]
    lines += ["};", f"inline constexpr std::array<double, {len(names)}> word{{"]
    lines += [f"    {format_number(w)}, // {name}" for w, name in zip(weights, names)]
    lines += [
        "};",
        f"inline constexpr double wordBias = {format_number(bias)};",
        "// A name takes words while they score at least wordThreshold and at most wordGap below the best,",
        "// two at least and maxWords at most.",
        f"inline constexpr double wordThreshold = {format_number(threshold)};",
        f"inline constexpr double wordGap = {format_number(gap)};",
        f"inline constexpr int maxWords = {max_words};",
        "",
        "// The category: per category, bias plus the sum of weight times feature (CategoryClassifier).",
        f"inline constexpr std::array<const char *, {len(category_names)}> categoryFeatureNames{{",
    ]
    lines += [f'    "{name}",' for name in category_names]
    lines += ["};", f"inline constexpr std::array<std::array<double, {len(category_names)}>, 6> category{{{{"]
    cweights, cbias = category_model
    for c, row in enumerate(cweights):
        lines.append(f"    // {CATEGORIES[c]}")
        lines.append("    {" + ", ".join(format_number(w) for w in row) + "},")
    lines += ["}};", "inline constexpr std::array<double, 6> categoryBias{" +
              ", ".join(format_number(b) for b in cbias) + "};", "", "} // namespace NamingWeights", ""]
    with open(HEADER, "w") as f:
        f.write("\n".join(lines))
    if shutil.which("clang-format"):
        subprocess.run(["clang-format", "-i", HEADER], check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--corpus", default=os.environ.get("QUILLO_CORPUS_DIR",
                                                           os.path.join(ROOT, "..", "shared", "corpus")))
    parser.add_argument("--cached", help="recognition results from bench_naming --save")
    parser.add_argument("--features", help="use this export instead of running the benchmark")
    parser.add_argument("--folds", type=int, default=5)
    parser.add_argument("--check", action="store_true", help="fit and report, but leave the header")
    parser.add_argument("--show", action="store_true", help="print every cross-validated name")
    parser.add_argument("--nested", action="store_true",
                        help="also cross-validate the choice of penalties and cut (five times slower)")
    args = parser.parse_args()

    labels = read_labels(args.corpus)
    repositories = read_repositories(args.corpus)
    with tempfile.TemporaryDirectory() as folder:
        path = args.features or os.path.join(folder, "features.jsonl")
        if not args.features:
            export_features(args, path)
        names, records = read_features(path)
    word_names, category_names = names["wordFeatures"], names["categoryFeatures"]
    assert category_names[LINE_FEATURE] == "lines", "LINE_FEATURE no longer names CategoryClassifier's lines"
    category_index = word_names.index("categoryWord")
    screenshots = [Screenshot(r, labels[r["id"]], category_index) for r in records if r["id"] in labels]
    plain = [s for s in screenshots if not s.context]
    dimension = len(word_names)
    print(f"{len(plain)} screenshots, {sum(s.context for s in screenshots)} with a window title, "
          f"{sum(len(s.words) for s in screenshots)} candidate words", file=sys.stderr)

    folds = folds_of(screenshots, repositories, args.folds)
    (penalty, must_weight, category_penalty), cut, cache = choose(screenshots, folds, args.folds, dimension)
    print(f"chosen by cross-validation: penalty {penalty}, must weight {must_weight}, category penalty "
          f"{category_penalty}, threshold {cut[0]}, gap {cut[1]}, at most {cut[2]} words", file=sys.stderr)

    models = cross_validated(screenshots, folds, args.folds, (penalty, must_weight, category_penalty), dimension,
                             cache)
    category_model = fit_category(screenshots, category_penalty)
    word_model = fit_words(screenshots, category_model, penalty, must_weight, dimension)
    fitted, fitted_context = Table(), Table()
    evaluate(plain, category_model, word_model, cut, fitted)
    evaluate([s for s in screenshots if s.context], category_model, word_model, cut, fitted_context)
    crossed = cv_table(screenshots, folds, models, cut, False, args.show)
    crossed_context = cv_table(screenshots, folds, models, cut, True, args.show)
    titled = {s.id for s in screenshots if s.context}
    untitled = cv_table([s for s in screenshots if s.id in titled], [f for s, f in zip(screenshots, folds)
                                                                      if s.id in titled], models, cut, False)
    summary = [f"fitted on all {fitted.n}: {fitted.text()}",
               f"{args.folds}-fold cross-validated: {crossed.text()}"]
    if args.nested:
        summary.append(f"{args.folds}-fold cross-validated, the choices too: "
                       f"{nested(screenshots, folds, args.folds, dimension).text()}")
    print("\n".join(summary))
    if fitted_context.n:
        print(f"with window titles ({fitted_context.n}): fitted {fitted_context.text()}; "
              f"cross-validated {crossed_context.text()}; the same without titles, cross-validated "
              f"{untitled.text()}")
    if not args.check:
        write_header(word_names, category_names, word_model, cut, category_model, summary)
        print(f"wrote {os.path.relpath(HEADER, ROOT)}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
