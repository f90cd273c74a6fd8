#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class Random;

// The word game's lists, carried as resources (wordle-answers.txt and
// wordle-allowed.txt, made by wordlewords.py) and split on first use.
namespace WordleWords {

// 2315 possible answers, alphabetical.
const QStringList &answers();
// 10657 further accepted guesses, alphabetical, none of them an answer.
const QStringList &allowed();
// Every answer and every further guess.
const QSet<QString> &valid();
// Offensive words that are never drawn as the answer (still valid guesses).
const QSet<QString> &blocked();

// A uniformly drawn answer that is not blocked; "smile" when none is left.
QString randomAnswer(Random &random);
QString randomAnswer(Random &random, const QStringList &answers, const QSet<QString> &blocked);

// The words of a list text: split at every run of whitespace.
QStringList splitWords(const QString &text);

} // namespace WordleWords
