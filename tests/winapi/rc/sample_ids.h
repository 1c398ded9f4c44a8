// Identifiers of the compiler's fixture script: guards, conditionals, chained defines.
#pragma once
#ifndef SAMPLE_IDS_H
#define SAMPLE_IDS_H

#define IDM_SAMPLE 201
#define IDA_SAMPLE 0xCA
#define IDC_BASE 1000
#define IDC_OPEN (IDC_BASE + 1)
#define IDC_RELOAD IDC_OPEN + 1
#define IDC_QUOTE 1003L
#define IDC_ABOUT (IDC_BASE+4)

#ifdef NOT_DEFINED
#define IDC_QUIT 9
#elif defined(SAMPLE_IDS_H) && !defined(NOT_DEFINED)
#define IDC_QUIT 1005
#else
#define IDC_QUIT 8
#endif

/* C declarations in a header mean nothing to the compiler */
int sampleDeclaration(void);

#endif
