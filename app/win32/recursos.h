#pragma once

// Resource identifiers shared by the resource script and the code.
#define kIconePrograma 1
// The tray icon in each state of the runs.
#define kIconeBandejaNormal 2
#define kIconeBandejaEmExecucao 3
#define kIconeBandejaPedidosComFalha 4
#define kIconeBandejaSemComunicacao 5
#define kIconeBandejaDesligada 6
#define kIconeBandejaIndefinido 7
