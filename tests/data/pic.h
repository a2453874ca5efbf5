/*
 * PIC16F877A special function registers and their named bits, for checking
 * that generated set-up code is valid C. Only names the chip really has are
 * declared, so a misspelt register or bit fails to compile.
 *
 * Registers are plain bytes; each named bit is a one-bit field reached through
 * a macro, so "PS0=1;" and "if(T0IF)" compile while "PS0=2;" draws an
 * overflow warning. Active-low bits, drawn with a bar over the name, keep
 * their plain letters (T1SYNC is "do not synchronise" when set).
 * Addresses are given in the comments; they play no part in a syntax check.
 */
#ifndef KORVANE_TEST_PIC_H
#define KORVANE_TEST_PIC_H

/* Bank 0 */
extern volatile unsigned char INDF;    /* 0x00 */
extern volatile unsigned char TMR0;    /* 0x01 */
extern volatile unsigned char PCL;     /* 0x02 */
extern volatile unsigned char STATUS;  /* 0x03 */
extern volatile unsigned char FSR;     /* 0x04 */
extern volatile unsigned char PORTA;   /* 0x05 */
extern volatile unsigned char PORTB;   /* 0x06 */
extern volatile unsigned char PORTC;   /* 0x07 */
extern volatile unsigned char PORTD;   /* 0x08 */
extern volatile unsigned char PORTE;   /* 0x09 */
extern volatile unsigned char PCLATH;  /* 0x0A */
extern volatile unsigned char INTCON;  /* 0x0B */
extern volatile unsigned char PIR1;    /* 0x0C */
extern volatile unsigned char PIR2;    /* 0x0D */
extern volatile unsigned char TMR1L;   /* 0x0E */
extern volatile unsigned char TMR1H;   /* 0x0F */
extern volatile unsigned char T1CON;   /* 0x10 */
extern volatile unsigned char TMR2;    /* 0x11 */
extern volatile unsigned char T2CON;   /* 0x12 */
extern volatile unsigned char SSPBUF;  /* 0x13 */
extern volatile unsigned char SSPCON;  /* 0x14 */
extern volatile unsigned char CCPR1L;  /* 0x15 */
extern volatile unsigned char CCPR1H;  /* 0x16 */
extern volatile unsigned char CCP1CON; /* 0x17 */
extern volatile unsigned char RCSTA;   /* 0x18 */
extern volatile unsigned char TXREG;   /* 0x19 */
extern volatile unsigned char RCREG;   /* 0x1A */
extern volatile unsigned char CCPR2L;  /* 0x1B */
extern volatile unsigned char CCPR2H;  /* 0x1C */
extern volatile unsigned char CCP2CON; /* 0x1D */
extern volatile unsigned char ADRESH;  /* 0x1E */
extern volatile unsigned char ADCON0;  /* 0x1F */

/* Bank 1 */
extern volatile unsigned char OPTION_REG; /* 0x81 */
extern volatile unsigned char TRISA;      /* 0x85 */
extern volatile unsigned char TRISB;      /* 0x86 */
extern volatile unsigned char TRISC;      /* 0x87 */
extern volatile unsigned char TRISD;      /* 0x88 */
extern volatile unsigned char TRISE;      /* 0x89 */
extern volatile unsigned char PIE1;       /* 0x8C */
extern volatile unsigned char PIE2;       /* 0x8D */
extern volatile unsigned char PCON;       /* 0x8E */
extern volatile unsigned char SSPCON2;    /* 0x91 */
extern volatile unsigned char PR2;        /* 0x92 */
extern volatile unsigned char SSPADD;     /* 0x93 */
extern volatile unsigned char SSPSTAT;    /* 0x94 */
extern volatile unsigned char TXSTA;      /* 0x98 */
extern volatile unsigned char SPBRG;      /* 0x99 */
extern volatile unsigned char CMCON;      /* 0x9C */
extern volatile unsigned char CVRCON;     /* 0x9D */
extern volatile unsigned char ADRESL;     /* 0x9E */
extern volatile unsigned char ADCON1;     /* 0x9F */

/* Bank 2 */
extern volatile unsigned char EEDATA; /* 0x10C */
extern volatile unsigned char EEADR;  /* 0x10D */
extern volatile unsigned char EEDATH; /* 0x10E */
extern volatile unsigned char EEADRH; /* 0x10F */

/* Bank 3 */
extern volatile unsigned char EECON1; /* 0x18C */
extern volatile unsigned char EECON2; /* 0x18D */

/*
 * Named bits, bit 0 first. The fields are declared before any bit macro
 * exists, so the member names are not expanded.
 */
extern volatile struct {
    unsigned C : 1, DC : 1, Z : 1, PD : 1, TO : 1, RP0 : 1, RP1 : 1, IRP : 1;
} STATUSbits;
extern volatile struct {
    unsigned RA0 : 1, RA1 : 1, RA2 : 1, RA3 : 1, RA4 : 1, RA5 : 1, : 2;
} PORTAbits;
extern volatile struct {
    unsigned RB0 : 1, RB1 : 1, RB2 : 1, RB3 : 1, RB4 : 1, RB5 : 1, RB6 : 1, RB7 : 1;
} PORTBbits;
extern volatile struct {
    unsigned RC0 : 1, RC1 : 1, RC2 : 1, RC3 : 1, RC4 : 1, RC5 : 1, RC6 : 1, RC7 : 1;
} PORTCbits;
extern volatile struct {
    unsigned RD0 : 1, RD1 : 1, RD2 : 1, RD3 : 1, RD4 : 1, RD5 : 1, RD6 : 1, RD7 : 1;
} PORTDbits;
extern volatile struct {
    unsigned RE0 : 1, RE1 : 1, RE2 : 1, : 5;
} PORTEbits;
/* The PIC16F87x data sheet calls the Timer0 bits T0IF and T0IE; the 87xA
 * sheet renamed them TMR0IF and TMR0IE. Both spellings are in use, so INTCON
 * has a second view: a macro cannot expand to another bit macro's name. */
extern volatile union {
    struct {
        unsigned RBIF : 1, INTF : 1, TMR0IF : 1, RBIE : 1, INTE : 1, TMR0IE : 1, PEIE : 1, GIE : 1;
    } bits;
    struct {
        unsigned : 2, T0IF : 1, : 2, T0IE : 1, : 2;
    } older;
} INTCONbits;
extern volatile struct {
    unsigned TMR1IF : 1, TMR2IF : 1, CCP1IF : 1, SSPIF : 1, TXIF : 1, RCIF : 1, ADIF : 1,
        PSPIF : 1;
} PIR1bits;
extern volatile struct {
    unsigned CCP2IF : 1, : 2, BCLIF : 1, EEIF : 1, : 1, CMIF : 1, : 1;
} PIR2bits;
extern volatile struct {
    unsigned TMR1ON : 1, TMR1CS : 1, T1SYNC : 1, T1OSCEN : 1, T1CKPS0 : 1, T1CKPS1 : 1, : 2;
} T1CONbits;
extern volatile struct {
    unsigned T2CKPS0 : 1, T2CKPS1 : 1, TMR2ON : 1, TOUTPS0 : 1, TOUTPS1 : 1, TOUTPS2 : 1,
        TOUTPS3 : 1, : 1;
} T2CONbits;
extern volatile struct {
    unsigned CCP1M0 : 1, CCP1M1 : 1, CCP1M2 : 1, CCP1M3 : 1, CCP1Y : 1, CCP1X : 1, : 2;
} CCP1CONbits;
extern volatile struct {
    unsigned RX9D : 1, OERR : 1, FERR : 1, ADDEN : 1, CREN : 1, SREN : 1, RX9 : 1, SPEN : 1;
} RCSTAbits;
extern volatile struct {
    unsigned CCP2M0 : 1, CCP2M1 : 1, CCP2M2 : 1, CCP2M3 : 1, CCP2Y : 1, CCP2X : 1, : 2;
} CCP2CONbits;
extern volatile struct {
    unsigned PS0 : 1, PS1 : 1, PS2 : 1, PSA : 1, T0SE : 1, T0CS : 1, INTEDG : 1, RBPU : 1;
} OPTION_REGbits;
extern volatile struct {
    unsigned TRISE0 : 1, TRISE1 : 1, TRISE2 : 1, : 1, PSPMODE : 1, IBOV : 1, OBF : 1, IBF : 1;
} TRISEbits;
extern volatile struct {
    unsigned TMR1IE : 1, TMR2IE : 1, CCP1IE : 1, SSPIE : 1, TXIE : 1, RCIE : 1, ADIE : 1,
        PSPIE : 1;
} PIE1bits;
extern volatile struct {
    unsigned CCP2IE : 1, : 2, BCLIE : 1, EEIE : 1, : 1, CMIE : 1, : 1;
} PIE2bits;
extern volatile struct {
    unsigned BOR : 1, POR : 1, : 6;
} PCONbits;
extern volatile struct {
    unsigned TX9D : 1, TRMT : 1, BRGH : 1, : 1, SYNC : 1, TXEN : 1, TX9 : 1, CSRC : 1;
} TXSTAbits;
extern volatile struct {
    unsigned SSPM0 : 1, SSPM1 : 1, SSPM2 : 1, SSPM3 : 1, CKP : 1, SSPEN : 1, SSPOV : 1, WCOL : 1;
} SSPCONbits;
extern volatile struct {
    unsigned BF : 1, UA : 1, R_W : 1, : 3, CKE : 1, SMP : 1;
} SSPSTATbits;

#define C STATUSbits.C
#define DC STATUSbits.DC
#define Z STATUSbits.Z
#define PD STATUSbits.PD
#define TO STATUSbits.TO
#define RP0 STATUSbits.RP0
#define RP1 STATUSbits.RP1
#define IRP STATUSbits.IRP

#define RA0 PORTAbits.RA0
#define RA1 PORTAbits.RA1
#define RA2 PORTAbits.RA2
#define RA3 PORTAbits.RA3
#define RA4 PORTAbits.RA4
#define RA5 PORTAbits.RA5
#define RB0 PORTBbits.RB0
#define RB1 PORTBbits.RB1
#define RB2 PORTBbits.RB2
#define RB3 PORTBbits.RB3
#define RB4 PORTBbits.RB4
#define RB5 PORTBbits.RB5
#define RB6 PORTBbits.RB6
#define RB7 PORTBbits.RB7
#define RC0 PORTCbits.RC0
#define RC1 PORTCbits.RC1
#define RC2 PORTCbits.RC2
#define RC3 PORTCbits.RC3
#define RC4 PORTCbits.RC4
#define RC5 PORTCbits.RC5
#define RC6 PORTCbits.RC6
#define RC7 PORTCbits.RC7
#define RD0 PORTDbits.RD0
#define RD1 PORTDbits.RD1
#define RD2 PORTDbits.RD2
#define RD3 PORTDbits.RD3
#define RD4 PORTDbits.RD4
#define RD5 PORTDbits.RD5
#define RD6 PORTDbits.RD6
#define RD7 PORTDbits.RD7
#define RE0 PORTEbits.RE0
#define RE1 PORTEbits.RE1
#define RE2 PORTEbits.RE2

#define RBIF INTCONbits.bits.RBIF
#define INTF INTCONbits.bits.INTF
#define TMR0IF INTCONbits.bits.TMR0IF
#define RBIE INTCONbits.bits.RBIE
#define INTE INTCONbits.bits.INTE
#define TMR0IE INTCONbits.bits.TMR0IE
#define PEIE INTCONbits.bits.PEIE
#define GIE INTCONbits.bits.GIE
#define T0IF INTCONbits.older.T0IF
#define T0IE INTCONbits.older.T0IE

#define TMR1IF PIR1bits.TMR1IF
#define TMR2IF PIR1bits.TMR2IF
#define CCP1IF PIR1bits.CCP1IF
#define SSPIF PIR1bits.SSPIF
#define TXIF PIR1bits.TXIF
#define RCIF PIR1bits.RCIF
#define ADIF PIR1bits.ADIF
#define PSPIF PIR1bits.PSPIF
#define CCP2IF PIR2bits.CCP2IF
#define BCLIF PIR2bits.BCLIF
#define EEIF PIR2bits.EEIF
#define CMIF PIR2bits.CMIF

#define TMR1ON T1CONbits.TMR1ON
#define TMR1CS T1CONbits.TMR1CS
#define T1SYNC T1CONbits.T1SYNC
#define T1OSCEN T1CONbits.T1OSCEN
#define T1CKPS0 T1CONbits.T1CKPS0
#define T1CKPS1 T1CONbits.T1CKPS1

#define T2CKPS0 T2CONbits.T2CKPS0
#define T2CKPS1 T2CONbits.T2CKPS1
#define TMR2ON T2CONbits.TMR2ON
#define TOUTPS0 T2CONbits.TOUTPS0
#define TOUTPS1 T2CONbits.TOUTPS1
#define TOUTPS2 T2CONbits.TOUTPS2
#define TOUTPS3 T2CONbits.TOUTPS3

#define CCP1M0 CCP1CONbits.CCP1M0
#define CCP1M1 CCP1CONbits.CCP1M1
#define CCP1M2 CCP1CONbits.CCP1M2
#define CCP1M3 CCP1CONbits.CCP1M3
#define CCP1Y CCP1CONbits.CCP1Y
#define CCP1X CCP1CONbits.CCP1X
#define CCP2M0 CCP2CONbits.CCP2M0
#define CCP2M1 CCP2CONbits.CCP2M1
#define CCP2M2 CCP2CONbits.CCP2M2
#define CCP2M3 CCP2CONbits.CCP2M3
#define CCP2Y CCP2CONbits.CCP2Y
#define CCP2X CCP2CONbits.CCP2X

#define RX9D RCSTAbits.RX9D
#define OERR RCSTAbits.OERR
#define FERR RCSTAbits.FERR
#define ADDEN RCSTAbits.ADDEN
#define CREN RCSTAbits.CREN
#define SREN RCSTAbits.SREN
#define RX9 RCSTAbits.RX9
#define SPEN RCSTAbits.SPEN

#define PS0 OPTION_REGbits.PS0
#define PS1 OPTION_REGbits.PS1
#define PS2 OPTION_REGbits.PS2
#define PSA OPTION_REGbits.PSA
#define T0SE OPTION_REGbits.T0SE
#define T0CS OPTION_REGbits.T0CS
#define INTEDG OPTION_REGbits.INTEDG
#define RBPU OPTION_REGbits.RBPU

#define TRISE0 TRISEbits.TRISE0
#define TRISE1 TRISEbits.TRISE1
#define TRISE2 TRISEbits.TRISE2
#define PSPMODE TRISEbits.PSPMODE
#define IBOV TRISEbits.IBOV
#define OBF TRISEbits.OBF
#define IBF TRISEbits.IBF

#define TMR1IE PIE1bits.TMR1IE
#define TMR2IE PIE1bits.TMR2IE
#define CCP1IE PIE1bits.CCP1IE
#define SSPIE PIE1bits.SSPIE
#define TXIE PIE1bits.TXIE
#define RCIE PIE1bits.RCIE
#define ADIE PIE1bits.ADIE
#define PSPIE PIE1bits.PSPIE
#define CCP2IE PIE2bits.CCP2IE
#define BCLIE PIE2bits.BCLIE
#define EEIE PIE2bits.EEIE
#define CMIE PIE2bits.CMIE

#define BOR PCONbits.BOR
#define POR PCONbits.POR

#define TX9D TXSTAbits.TX9D
#define TRMT TXSTAbits.TRMT
#define BRGH TXSTAbits.BRGH
#define SYNC TXSTAbits.SYNC
#define TXEN TXSTAbits.TXEN
#define TX9 TXSTAbits.TX9
#define CSRC TXSTAbits.CSRC
#define SSPM0 SSPCONbits.SSPM0
#define SSPM1 SSPCONbits.SSPM1
#define SSPM2 SSPCONbits.SSPM2
#define SSPM3 SSPCONbits.SSPM3
#define CKP SSPCONbits.CKP
#define SSPEN SSPCONbits.SSPEN
#define CKE SSPSTATbits.CKE
#define SMP SSPSTATbits.SMP

/* The configuration word at 0x2007, as the compilers' own macro takes it:
 * a number, at file scope, followed by a semicolon. */
#define __CONFIG(word) static const unsigned int config_word = (word)

#endif
