/* Korvane 校验: 9fdf19badef29dd4 */
/* Korvane 行校验: pGfWlnz-dm-UzagfS2RwlAB6Ngf4gekcVV_sMYIl166FS1BBjYtQXruYpqxihHYC */
/* Korvane 行校验: MvKXX-YcbwtlYYpazVYw-FpuYG6NOrfgkosYUPcwoYWI1UjYmhkeSYs1irSYIl_6 */
/* Korvane 行校验: 6Ju9PcPaIlbx6onOVYlOGhRlx6FoHSFl-JRbESynIlBU60UlN6TFdYIl656LwMxQ */
/* Korvane 行校验: 8wWnIlWx6hBb7pEMPIlpn6zCU9R3mhIloF6nIzIJJIGq3kjkVXduabI */
#include <xc.h>
//配置字: HS振荡 看门狗开 上电延时开 欠压复位开 低电压编程关 在线调试关 代码不保护 EEPROM数据不保护 程序存储器不写保护
#pragma config FOSC = HS, WDTE = ON, PWRTE = ON, BOREN = ON, LVP = OFF, DEBUG = OFF, CP = OFF, CPD = OFF, WRT = OFF
#define _XTAL_FREQ 20000000

// 函数声明部份
void set_port(void);
void fun_timerset(void);
void fun_ccpset(void);
void fun_sciset(void);
void fun_msspset(void);
void fun_adset(void);
void __interrupt() isr(void);
void fun_intset(void);
volatile unsigned char portb_state;  //RB口电平变化中断时读到的PORTB值
volatile unsigned char sci_tx_byte;  //待发送的字节
volatile unsigned char sci_tx_full;  //置1后打开发送中断(TXIE=1),由中断发送sci_tx_byte
volatile unsigned char sci_rx_byte;  //接收中断读到的字节
/* 用户代码开始: 全局 */
/* 用户代码结束: 全局 */

// 主函数
void main(void)
{
    set_port();
    fun_timerset();
    fun_ccpset();
    fun_sciset();
    fun_msspset();
    fun_adset();
    fun_intset();
    /* 用户代码开始: 主循环前 */
    /* 用户代码结束: 主循环前 */
    while (1) {
        /* 用户代码开始: 主循环 */
        /* 用户代码结束: 主循环 */
        CLRWDT();  //看门狗已打开,主循环中清看门狗
    }
}

//中断子程序
void __interrupt() isr(void)
{
    if (INTCONbits.T0IE && INTCONbits.T0IF) {
        /* 用户代码开始: 中断 T0IF */
        /* 用户代码结束: 中断 T0IF */
        INTCONbits.T0IF = 0;
        TMR0 = 0x06;  //重装初值,使每次中断间隔为设定的定时时间
        //Timer0中断服务子程序
    }
    if (INTCONbits.INTE && INTCONbits.INTF) {
        /* 用户代码开始: 中断 INTF */
        /* 用户代码结束: 中断 INTF */
        INTCONbits.INTF = 0;
        //RB0/INT中断服务子程序
    }
    if (INTCONbits.RBIE && INTCONbits.RBIF) {
        /* 用户代码开始: 中断 RBIF */
        /* 用户代码结束: 中断 RBIF */
        portb_state = PORTB;  //先读PORTB结束电平失配,否则RBIF清零后又被置位,中断反复进入
        INTCONbits.RBIF = 0;
        //RB口电平变化中断服务子程序
    }
    if (PIE1bits.TMR1IE && PIR1bits.TMR1IF) {
        /* 用户代码开始: 中断 TMR1IF */
        /* 用户代码结束: 中断 TMR1IF */
        PIR1bits.TMR1IF = 0;
        TMR1H = 0xEC;
        TMR1L = 0x78;  //重装初值,使每次中断间隔为设定的定时时间
        //Timer1中断服务子程序
    }
    if (PIE1bits.TMR2IE && PIR1bits.TMR2IF) {
        /* 用户代码开始: 中断 TMR2IF */
        /* 用户代码结束: 中断 TMR2IF */
        PIR1bits.TMR2IF = 0;
        //Timer2中断服务子程序
    }
    if (PIE1bits.CCP1IE && PIR1bits.CCP1IF) {
        /* 用户代码开始: 中断 CCP1IF */
        /* 用户代码结束: 中断 CCP1IF */
        PIR1bits.CCP1IF = 0;
        //CCP1中断服务子程序
    }
    if (PIE2bits.CCP2IE && PIR2bits.CCP2IF) {
        /* 用户代码开始: 中断 CCP2IF */
        /* 用户代码结束: 中断 CCP2IF */
        PIR2bits.CCP2IF = 0;
        //CCP2中断服务子程序
    }
    if (PIE1bits.TXIE && PIR1bits.TXIF) {
        /* 用户代码开始: 中断 TXIF */
        /* 用户代码结束: 中断 TXIF */
        if (sci_tx_full) {
            TXREG = sci_tx_byte;  //写TXREG清除TXIF(只读标志)
            sci_tx_full = 0;
        } else {
            PIE1bits.TXIE = 0;  //没有数据要发送:关闭发送中断,否则中断反复进入
        }
        //SCI串行口发送中断服务子程序
    }
    if (PIE1bits.RCIE && PIR1bits.RCIF) {
        /* 用户代码开始: 中断 RCIF */
        /* 用户代码结束: 中断 RCIF */
        sci_rx_byte = RCREG;  //读RCREG清除RCIF(只读标志)
        //SCI串行口接收中断服务子程序
    }
    if (PIE1bits.SSPIE && PIR1bits.SSPIF) {
        /* 用户代码开始: 中断 SSPIF */
        /* 用户代码结束: 中断 SSPIF */
        PIR1bits.SSPIF = 0;
        //MSSP中断服务子程序
    }
    if (PIE2bits.BCLIE && PIR2bits.BCLIF) {
        /* 用户代码开始: 中断 BCLIF */
        /* 用户代码结束: 中断 BCLIF */
        PIR2bits.BCLIF = 0;
        //I2C总线冲突中断服务子程序
    }
    if (PIE1bits.ADIE && PIR1bits.ADIF) {
        /* 用户代码开始: 中断 ADIF */
        /* 用户代码结束: 中断 ADIF */
        PIR1bits.ADIF = 0;
        //A/D转换中断服务子程序
    }
}

//端口I/O定义子程序
void set_port(void)
{
    TRISA = 0x01;
    TRISB = 0xF1;
    TRISC = 0xDC;
    TRISD = 0x00;
    TRISE = 0x00;
    /* 用户代码开始: set_port */
    /* 用户代码结束: set_port */
}

//定时器初始化设置子程序
void fun_timerset(void)
{
    //Timer0初始化设置
    //Timer0 使用预分频器
    //Timer0选择分频率为1:2
    //内部时钟定时方式,定时时间:100uS,误差:0uS
    TMR0 = 0x06;

    //RB口功能设置
    //RB0/INT中断,下降沿触发
    //打开RB口弱上拉
    OPTION_REG = 0x10;  //RBPU=0 INTEDG=0 T0CS=0 T0SE=1 PSA=0 PS2=0 PS1=0 PS0=0

    //Timer1初始化设置
    //timer1使用预分频率1:1
    //不使用T1内部振荡器
    //Timer1工作定时器模式,定时时间:1000uS,误差:0uS
    TMR1H = 0xEC;
    TMR1L = 0x78;
    T1CON = 0x01;  //T1CKPS1=0 T1CKPS0=0 T1OSCEN=0 T1SYNC=0 TMR1CS=0 TMR1ON=1

    //Timer2初始化设置
    //timer2使用预分频率1:1
    //timer2使用后分频率1:1
    //定时器2定时时间为:50uS,误差:0uS
    PR2 = 0xF9;  //TMR2计数到PR2后自动清零
    T2CON = 0x04;  //TOUTPS3=0 TOUTPS2=0 TOUTPS1=0 TOUTPS0=0 TMR2ON=1 T2CKPS1=0 T2CKPS0=0
    /* 用户代码开始: fun_timerset */
    /* 用户代码结束: fun_timerset */
}

//CCP初始化设置子程序
void fun_ccpset(void)
{
    //CCP1模块设置
    CCP1CON = 0x04;  //CCP1X=0 CCP1Y=0 CCP1M3=0 CCP1M2=1 CCP1M1=0 CCP1M0=0

    //CCP2模块设置
    //PWM占空比:20uS
    CCPR2L = 0x64;
    CCP2CON = 0x0C;  //CCP2X=0 CCP2Y=0 CCP2M3=1 CCP2M2=1 CCP2M1=0 CCP2M0=0
    /* 用户代码开始: fun_ccpset */
    /* 用户代码结束: fun_ccpset */
}

//SCI串行口初始化设置子程序
void fun_sciset(void)
{
    //串行口工作于异步方式
    //高波特率方式:Baud Rate = Fosc/(16*(SPBRG+1))
    //发送数据长度为8位
    TXSTA = 0x24;  //CSRC=0 TX9=0 TXEN=1 SYNC=0 BRGH=1
    //接收数据长度为8位
    SPBRG = 0x81;  // 通信波特率为9600
    RCSTA = 0x90;  //SPEN=1 RX9=0 SREN=0 CREN=1
    /* 用户代码开始: fun_sciset */
    /* 用户代码结束: fun_sciset */
}

//MSSP初始化设置子程序
void fun_msspset(void)
{
    //MSSP工作于I2C主控方式
    //关闭压摆率控制(100kHz)
    SSPSTAT = 0x80;  //SMP=1 CKE=0
    //I2C总线速率:100kHz,实际速率:100.000kHz,误差:0.000%
    SSPADD = 0x31;  //I2C时钟 = Fosc/(4*(SSPADD+1))
    SSPCON = 0x28;  //SSPEN=1 CKP=0 SSPM3=1 SSPM2=0 SSPM1=0 SSPM0=0
    /* 用户代码开始: fun_msspset */
    /* 用户代码结束: fun_msspset */
}

//A/D转换模块初始化设置子程序
void fun_adset(void)
{
    //AN0模拟,VREF+=VDD,VREF-=VSS
    //转换结果右对齐
    ADCON1 = 0x8E;
    //转换时钟Fosc/32,TAD=1.600uS,转换时间19.200uS
    //转换通道AN0,打开A/D模块
    ADCON0 = 0x81;
    /* 用户代码开始: fun_adset */
    /* 用户代码结束: fun_adset */
}

//中断允许设置子程序
void fun_intset(void)
{
    //Tiemr0中断允许
    //RB0/INT中断允许
    //RB口电平变化中断允许
    //Tiemr1中断允许
    //Tiemr2中断允许
    //CCP1中断允许
    //CCP2中断允许
    //SCI串行口发送中断允许
    //SCI串行口接收中断允许
    //MSSP中断允许
    //I2C总线冲突中断允许
    PIE2 = 0x09;  //BCLIE=1 CCP2IE=1
    //A/D转换中断允许
    PIE1 = 0x7F;  //ADIE=1 RCIE=1 TXIE=1 SSPIE=1 CCP1IE=1 TMR2IE=1 TMR1IE=1
    //外设中断允许
    //总中断允许
    INTCON = 0xF8;  //GIE=1 PEIE=1 T0IE=1 INTE=1 RBIE=1 T0IF=0 INTF=0 RBIF=0
    /* 用户代码开始: fun_intset */
    /* 用户代码结束: fun_intset */
}
